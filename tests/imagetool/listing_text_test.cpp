#include "core/app_state.h"
#include "imagetool/argument_lines.h"
#include "imagetool/file_operations.h"
#include "imagetool/image_browser.h"
#include "imagetool/tool_runner.h"

#include <gtest/gtest.h>

using namespace corvel;

namespace {

struct ListingCase {
    const char16_t* line;
    const char16_t* name;
    const char16_t* size;
    const char16_t* kind;
};

} // namespace

TEST(ListingLine, EveryLineBecomesOneEntryByItsFirstTwoFields) {
    const ListingCase cases[] = {
        {u"[DIR]\tGAMES", u"GAMES", u"", u"DIR"},
        {u"[DIR]", u"", u"", u"DIR"},
        {u"[DIR] ignored\tZX", u"ZX", u"", u"DIR"},
        {u"1024\tREADME.TXT", u"README.TXT", u"1024", u"FILE"},
        {u"1024\tREADME.TXT\textra\tmore", u"README.TXT", u"1024", u"FILE"},
        {u"[dir]\tX", u"X", u"[dir]", u"FILE"},
        {u"no tab at all", u"", u"no tab at all", u"FILE"},
        {u"", u"", u"", u"FILE"},
        {u" 12\t name with blanks ", u" name with blanks ", u" 12", u"FILE"},
        {u"7\tÜber lange Datei.bas", u"Über lange Datei.bas", u"7", u"FILE"},
        {u"Error: cannot open image x.img", u"", u"Error: cannot open image x.img", u"FILE"},
    };
    for (const ListingCase& c : cases) {
        const DirEntry entry = parseListingLine(QString::fromUtf16(c.line));
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        EXPECT_EQ(entry.name, QString::fromUtf16(c.name));
        EXPECT_EQ(entry.size, QString::fromUtf16(c.size));
        EXPECT_EQ(entry.kind, QString::fromUtf16(c.kind));
    }
}

TEST(ImageDirectories, ParentEndsAtTheRootWithoutLookingAtTheLastCharacter) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/GAMES/ZX", u"/GAMES"}, {u"/GAMES", u""}, {u"/A/B/", u"/A"}, {u"/", u""}, {u"", u""},
    };
    for (const auto& [dir, parent] : cases)
        EXPECT_EQ(parentImageDir(QString::fromUtf16(dir)), QString::fromUtf16(parent))
            << QString::fromUtf16(dir).toStdString();
}

TEST(NewFolderNames, BlanksBecomeUnderscoresAndForbiddenCharactersGo) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"my game.bas", u"my_gamebas"},
        {u"<odd>", u"<odd>"},
        {u"..??**", u""},
        {u"a\\b/c:d\"e|f", u"abcdef"},
        {u"MixedCase Ü", u"MixedCase_Ü"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(cleanFolderName(QString::fromUtf16(in)), QString::fromUtf16(out));
}

TEST(ArgumentLines, RootAndSubfolderFormsOfEveryCommand) {
    AppState state;
    state.imagePath = QStringLiteral("\"/i/a b.img\"");
    EXPECT_EQ(listLine(state), QStringLiteral("ls \"/i/a b.img\" \"\""));
    EXPECT_EQ(removeLine(state, QStringLiteral("X")), QStringLiteral("rm \"/i/a b.img\" \"/X\""));
    EXPECT_EQ(putLine(state, QStringLiteral("/pc/"), QStringLiteral("f.bas")),
              QStringLiteral("put \"/i/a b.img\" \"/pc/f.bas\" \"f.bas\""));
    state.imageDir = QStringLiteral("/GAMES/ZX");
    EXPECT_EQ(listLine(state), QStringLiteral("ls \"/i/a b.img\" \"/GAMES/ZX\""));
    EXPECT_EQ(makeFolderLine(state, QStringLiteral("N")),
              QStringLiteral("mkdir \"/i/a b.img\" \"/GAMES/ZX/N\""));
    EXPECT_EQ(getLine(state, QStringLiteral("g"), QStringLiteral("/pc//g")),
              QStringLiteral("get \"/i/a b.img\" \"/GAMES/ZX/g\" \"/pc//g\""));
    EXPECT_EQ(putLine(state, QStringLiteral("/pc/"), QStringLiteral("f.bas")),
              QStringLiteral("put \"/i/a b.img\" \"/pc/f.bas\" \"/GAMES/ZX/f.bas\""));
}
