#include "fonts.h"

#include <QApplication>
#include <map>

namespace corvel::platform {

static std::map<int, QFont>& fontTable() {
    static std::map<int, QFont> table;
    return table;
}

void createFont(int number, const QString& face, int points, bool bold) {
    QFont font(face, points, bold ? QFont::Bold : QFont::Normal);
    // "Segoe UI Semibold" is a face of its own on the system it was designed for; elsewhere the
    // family is matched by its first words and the weight carries the "semibold".
    if (face.endsWith(QStringLiteral(" Semibold"))) {
        font.setFamilies({face, face.chopped(9)});
        font.setWeight(bold ? QFont::Bold : QFont::DemiBold);
    }
    font.setStyleHint(QFont::SansSerif);
    fontTable()[number] = font;
}

QFont fontByNumber(int number) {
    const auto it = fontTable().find(number);
    return it == fontTable().end() ? QApplication::font() : it->second;
}

bool hasFont(int number) { return fontTable().count(number) != 0; }

} // namespace corvel::platform
