#pragma once

#include <QFont>
#include <QString>

namespace corvel::platform {

// Fonts are made once at start and referred to by a small number. A face that is not installed
// falls back to the nearest installed one (fontconfig's choice); no font files are bundled.
void createFont(int number, const QString& face, int points, bool bold);
// The font made under `number`, or the application's default font when there is none.
QFont fontByNumber(int number);
bool hasFont(int number);

} // namespace corvel::platform
