#pragma once
// The text of the box that explains a load's marks.

#include <QString>

// The red text (with its yellow sentences when there are yellow marks too), the yellow
// text alone, or "" when nothing was marked and no box is shown. Lines end in CR LF.
QString loadReportText(int red, int yellow);
