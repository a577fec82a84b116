#include "transfer/LoadReport.h"

#include <QStringList>

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString lines(std::initializer_list<const char*> parts)
{
    QStringList l;
    for (const char* p : parts)
        l << QString::fromLatin1(p);
    return l.join(CrLf);
}
} // namespace

QString loadReportText(int red, int yellow)
{
    if (red > 0) {
        QString text = lines({"ERROR!", "There were some errors reading the synchronizer. The",
                              "fields with red borders had unrecognized characters", "in them. "});
        if (yellow > 0)
            text += lines({"Fields with yellow borders had numbers", "outside the valid range."});
        text += CrLf + CrLf +
                lines({"The errors marked in red may have been caused by",
                       "communications errors, or by bad data stored the",
                       "last time the synchronizer was programmed. The",
                       "screen has been updated with valid settings, but",
                       "there may still be a communications problem or",
                       "there may be bad data in the synchronizer."});
        if (yellow > 0)
            text += CrLf + CrLf +
                    lines({"The warnings in yellow might be caused by data saved",
                           "by earlier versions of the software, which were able",
                           "to save numbers that were out of the valid range.",
                           "They could also be caused by communications errors.", ""});
        text += CrLf + CrLf +
                lines({"You may want to check your connections and then try",
                       "reading the synchronizer again. If the results are",
                       "identical, you could try saving to the synchronizer.", ""});
        return text;
    }
    if (yellow > 0)
        return lines({"WARNING!", "The fields with yellow borders had values stored in",
                      "the synchronizer that are outside the allowed range",
                      "of values. This may have been caused by saving from",
                      "previous versions of the software, which were able",
                      "to save out of range values. This version will not.",
                      "It is also possible that there were problems while",
                      "communicating with the synchronizer and the numbers",
                      "shown may not actually be stored in the synchronizer.",
                      "The numbers on the screen have been changed to valid",
                      "values, but the synchronizer may still have the old", "values.", "",
                      "You should either try reading the synchronizer",
                      "again, or check the values and then save them to", "the synchronizer.", ""});
    return QString();
}
