#pragma once
// Which option of a start or end mode group is selected, and Tab into a group landing on it.

#include "model/SyncParameters.h"

#include <QRadioButton>
#include <array>
#include <optional>

// The first selected of the Title, Chapter, Time and Frame Number options, in that order;
// nothing when none is selected.
inline std::optional<PointMode> selectedMode(const std::array<const QRadioButton*, 4>& options)
{
    const PointMode modes[4] = {PointMode::Title, PointMode::Chapter, PointMode::Timecode,
                                PointMode::Frame};
    for (int i = 0; i < 4; ++i)
        if (options[i]->isChecked())
            return modes[i];
    return std::nullopt;
}

// Tab or Shift+Tab into a group of options lands on the selected one, also when code
// selected it after the user last chose another: only the selected option takes Tab; the
// arrow keys still move between all of them. Called whenever the selection changes.
inline void letOnlySelectedTakeTab(const std::array<QRadioButton*, 4>& options)
{
    for (QRadioButton* o : options)
        o->setFocusPolicy(o->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}
