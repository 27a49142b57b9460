#pragma once

#include "core/app_types.h"

#include <QString>
#include <vector>

class QWidget;

namespace corvel {

void clearChoices(std::vector<ChoiceItem>& list);
ChoiceItem& addChoice(std::vector<ChoiceItem>& list, const QString& text, int value, int image,
                      int disabled, int tag);

// The modal choice requester: -2 cancelled or no rows, -3 no window, otherwise the chosen
// position (its value with flag 0x001) or, in multiple choice, the number of rows chosen, each
// row's value then telling whether it was.
int chooseFromList(const QString& title, const QString& text, std::vector<ChoiceItem>& list,
                   int flags, int defaultRow, QWidget* parent, int width, int height);

} // namespace corvel
