#include "choices.h"

#include "platform/choice_dialog.h"
#include "platform/dialogs.h"

namespace corvel {

void clearChoices(std::vector<ChoiceItem>& list) {
    list.clear();
}

ChoiceItem& addChoice(std::vector<ChoiceItem>& list, const QString& text, int value, int image,
                      int disabled, int tag) {
    return list.emplace_back(ChoiceItem{text, value, image, disabled, tag});
}

int chooseFromList(const QString& title, const QString& text, std::vector<ChoiceItem>& list,
                   int flags, int defaultRow, QWidget* parent, int width, int height) {
    std::vector<platform::ChoiceRow> rows;
    rows.reserve(list.size());
    for (const ChoiceItem& item : list)
        rows.push_back({item.text, item.value, item.image, item.disabled != 0});
    const platform::ChoiceRequest request{title, text, flags, defaultRow, parent, width, height};
    const int result = platform::dialogs().chooseFromList(request, rows);
    // Only an accepted multiple choice rewrites the values, but a failed accept attempt
    // rewrites them too before the dialog is cancelled, so they are always copied back.
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i].value = rows[i].value;
    return result;
}

} // namespace corvel
