#include "platform/choice_dialog.h"
#include "platform/dialogs.h"
#include "provision/choices.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

using namespace corvel;
using platform::ChoiceDialog;

namespace {

std::vector<ChoiceItem> rows(std::initializer_list<std::pair<const char*, int>> texts,
                             std::initializer_list<int> disabledRows = {}) {
    std::vector<ChoiceItem> list;
    for (const auto& [text, value] : texts)
        addChoice(list, QString::fromLatin1(text), value, 0, 0, 7);
    for (int row : disabledRows)
        list[static_cast<std::size_t>(row)].disabled = 1;
    return list;
}

// Queues a scripted answer that drives the real, open dialog.
void script(std::function<void(ChoiceDialog&)> steps) {
    platform::dialogs().queueAnswer({false, QString(), [steps] {
                                         steps(*ChoiceDialog::current());
                                         return 0;
                                     }});
}

// A real double-click: press and release, then the second press that Qt reports as a
// double-click.
void doubleClickRow(QListWidget* box, int row) {
    const QPoint at = box->visualItemRect(box->item(row)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
}

void key(ChoiceDialog& dialog, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(dialog.listView(), k, mods);
}

std::vector<int> values(const std::vector<ChoiceItem>& list) {
    std::vector<int> out;
    for (const ChoiceItem& item : list)
        out.push_back(item.value);
    return out;
}

class ChoiceDialogTest : public ::testing::Test {
protected:
    void SetUp() override { platform::dialogs().clearShown(); }
    std::vector<ChoiceItem> m_four = rows({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}});
};

TEST_F(ChoiceDialogTest, DefaultSizeFollowsTextLengthAndLogOfRowCount) {
    EXPECT_EQ(platform::defaultChoiceWidth(QStringLiteral("Please pick an image size:")), 268);
    const std::pair<std::size_t, int> heights[] = {{1, 100}, {2, 142}, {4, 183}, {10, 238}};
    for (const auto& [count, height] : heights)
        EXPECT_EQ(platform::defaultChoiceHeight(count), height) << count;
}

TEST_F(ChoiceDialogTest, ImageSizeDialogGeometry) {
    QRect dialogRect, ok, cancel, list, label;
    bool onTop = false;
    script([&](ChoiceDialog& d) {
        dialogRect = d.rect();
        ok = d.okButton()->geometry();
        cancel = d.cancelButton()->geometry();
        list = d.listView()->geometry();
        label = d.label()->geometry();
        onTop = d.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    EXPECT_EQ(chooseFromList(QStringLiteral("Download ZX Next distribution"),
                             QStringLiteral("Please pick an image size:"), m_four, 0x044, 1,
                             nullptr, 0, 0),
              -2);
    EXPECT_EQ(dialogRect.size(), QSize(268, 183));
    EXPECT_EQ(ok, QRect(44, 148, 80, 25));
    EXPECT_EQ(cancel, QRect(144, 148, 80, 25));
    EXPECT_EQ(list, QRect(5, 25, 258, 113));
    EXPECT_EQ(label, QRect(0, 5, 268, 20));
    EXPECT_TRUE(onTop);
    ASSERT_EQ(platform::dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::dialogs().shown()[0].title,
              QStringLiteral("Download ZX Next distribution"));
}

TEST_F(ChoiceDialogTest, EdgeButtonsAndExplicitSize) {
    QRect ok, cancel;
    bool onTop = true;
    script([&](ChoiceDialog& d) {
        ok = d.okButton()->geometry();
        cancel = d.cancelButton()->geometry();
        onTop = d.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    chooseFromList(QStringLiteral("t"), QStringLiteral("x"), m_four, 0x020, 0, nullptr, 300, 200);
    EXPECT_EQ(ok, QRect(5, 165, 80, 25));
    EXPECT_EQ(cancel, QRect(215, 165, 80, 25));
    EXPECT_FALSE(onTop);
}

TEST_F(ChoiceDialogTest, EmptyListCancelsWithoutADialog) {
    std::vector<ChoiceItem> none;
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), none, 0x004, 0, nullptr, 0, 0),
        -2);
    EXPECT_TRUE(platform::dialogs().shown().empty());
}

// Multiple choice in each of the three list controls: a failed accept rewrites the values and
// keeps the dialog open, a close still cancels, Ctrl+A picks every row, disabled ones never count.
TEST_F(ChoiceDialogTest, MultipleChoiceAcrossListKinds) {
    for (int look : {0x000, 0x100, 0x200}) {
        auto list = rows({{"a", 1}, {"b", 0}, {"c", 0}, {"d", 0}}, {0});
        bool stayedOpen = false;
        script([&](ChoiceDialog& d) {
            d.okButton()->click();
            stayedOpen = d.isVisible();
            d.close();
        });
        EXPECT_EQ(chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x004 | look, 0,
                                 nullptr, 0, 0),
                  -2)
            << look;
        EXPECT_TRUE(stayedOpen) << look;
        EXPECT_EQ(values(list), (std::vector<int>{0, 0, 0, 0})) << look;

        list = rows({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}}, {1});
        script([&](ChoiceDialog& d) {
            d.setChosen(1, true);
            d.setChosen(3, true);
            key(d, Qt::Key_Return);
        });
        EXPECT_EQ(chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x004 | look, 0,
                                 nullptr, 0, 0),
                  1)
            << look;
        EXPECT_EQ(values(list), (std::vector<int>{0, 0, 0, 1})) << look;

        script([&](ChoiceDialog& d) {
            key(d, Qt::Key_A, Qt::ControlModifier);
            d.okButton()->click();
        });
        EXPECT_EQ(chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x004 | look, 0,
                                 nullptr, 0, 0),
                  3)
            << look;
        EXPECT_EQ(values(list), (std::vector<int>{1, 0, 1, 1})) << look;
        EXPECT_EQ(list[0].tag, 7);
    }
}

TEST_F(ChoiceDialogTest, MultipleChoiceMayAcceptNothingWithFlag008) {
    script([](ChoiceDialog& d) { d.okButton()->click(); });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), m_four, 0x00c, 0, nullptr, 0, 0),
        0);
}

TEST_F(ChoiceDialogTest, SingleChoiceReturnsPositionOrValue) {
    auto list = rows({{"a", 5}, {"b", -3}, {"c", 9}}, {2});
    script([](ChoiceDialog& d) { key(d, Qt::Key_Return); });
    EXPECT_EQ(chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0, 1, nullptr, 0, 0),
              1)
        << "the default row is selected at open";

    script([](ChoiceDialog& d) { d.okButton()->click(); });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x001, 1, nullptr, 0, 0), -3)
        << "flag 0x001 returns the value, even one that looks like an error";

    bool stayedOpen = false;
    script([&](ChoiceDialog& d) {
        d.setChosen(2, true);
        d.okButton()->click();
        stayedOpen = d.isVisible();
        key(d, Qt::Key_A, Qt::ControlModifier);
        EXPECT_FALSE(d.isChosen(0));
        key(d, Qt::Key_Escape);
    });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x200, 0, nullptr, 0, 0),
        -2);
    EXPECT_TRUE(stayedOpen) << "a disabled row cannot be accepted";
    EXPECT_EQ(values(list), (std::vector<int>{5, -3, 9}));

    script([](ChoiceDialog& d) {
        doubleClickRow(d.listWidget(), 2);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.isChosen(2)) << "a double-click on a disabled row does not accept";
    });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x101, 1, nullptr, 0, 0),
        -2);
    script([](ChoiceDialog& d) { doubleClickRow(d.listWidget(), 0); });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x101, 1, nullptr, 0, 0), 5);
}

TEST_F(ChoiceDialogTest, TreeWithHierarchyNestsRowsByLevelAndChecksMultipleChoice) {
    auto list = rows({{"top", 0}, {"child", 1}, {"grandchild", 2}, {"second", 0}});
    int topLevel = -1;
    int children = -1;
    bool decorated = false;
    script([&](ChoiceDialog& d) {
        QTreeWidget* tree = d.treeWidget();
        topLevel = tree->topLevelItemCount();
        children = tree->topLevelItem(0)->childCount();
        decorated = tree->rootIsDecorated();
        EXPECT_EQ(tree->topLevelItem(0)->child(0)->childCount(), 1);
        EXPECT_EQ(tree->topLevelItem(0)->child(0)->checkState(0), Qt::Checked);
        EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Unchecked);
        d.okButton()->click();
    });
    EXPECT_EQ(
        chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x214, 0, nullptr, 0, 0), 2);
    EXPECT_EQ(topLevel, 2);
    EXPECT_EQ(children, 1);
    EXPECT_TRUE(decorated);
    EXPECT_EQ(values(list), (std::vector<int>{0, 1, 1, 0}));

    list = rows({{"top", 0}, {"child", 1}});
    script([&](ChoiceDialog& d) {
        topLevel = d.treeWidget()->topLevelItemCount();
        decorated = d.treeWidget()->rootIsDecorated();
    });
    chooseFromList(QStringLiteral("t"), QStringLiteral("x"), list, 0x200, 0, nullptr, 0, 0);
    EXPECT_EQ(topLevel, 2) << "without 0x010 every row is at the top";
    EXPECT_FALSE(decorated);
}

TEST_F(ChoiceDialogTest, ParentTakesNoInputWhileOpen) {
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    bool parentEnabled = true;
    script([&](ChoiceDialog&) { parentEnabled = parent.isEnabled(); });
    chooseFromList(QStringLiteral("t"), QStringLiteral("x"), m_four, 0, 0, &parent, 0, 0);
    EXPECT_FALSE(parentEnabled);
    EXPECT_TRUE(parent.isEnabled());
}

} // namespace
