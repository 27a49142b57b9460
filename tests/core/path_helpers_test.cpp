#include "core/path_helpers.h"

#include <gtest/gtest.h>

using namespace corvel;

struct PathCase {
    const char* path;
    const char* folder;
    const char* file;
    const char* extension;
};

TEST(PathHelpers, SplitPathsLikeTheRestOfTheProgramExpects) {
    const PathCase cases[] = {
        {"/home/u/GAME.BAS", "/home/u/", "GAME.BAS", "BAS"},
        {"\"/home/u/a b.nex\"", "/home/u/", "a b.nex", "nex"},
        // A backslash is an ordinary character of a Linux file name, never a separator.
        {"/in\\out/a\\b.txt", "/in\\out/", "a\\b.txt", "txt"},
        {"README", "", "README", ""},
        {".profile", "", ".profile", ""},
        {"/dir/.nex", "/dir/", ".nex", ""},
        {"a.b.c", "", "a.b.c", "c"},
        {"name. txt", "", "name. txt", ""},
        {"dir.d/file", "dir.d/", "file", ""},
        {"/a|b/c", "/", "c", ""},
        {"", "", "", ""},
    };
    for (const PathCase& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(folderPart(path), QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(filePart(path), QString::fromUtf8(c.file)) << c.path;
        EXPECT_EQ(extensionPart(path), QString::fromUtf8(c.extension)) << c.path;
    }
}
