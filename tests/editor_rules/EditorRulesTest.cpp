#include <QTest>
class EditorRulesTest : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(EditorRulesTest)
#include "EditorRulesTest.moc"
