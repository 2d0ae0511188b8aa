#include "ui/HexEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

struct TypingCase {
    const char* typed;
    const char* shown;
};

std::ostream& operator<<(std::ostream& out, const TypingCase& c) { return out << c.typed; }

class HexEditTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(HexEditTyping, KeepsHexDigitsInUpperCase) {
    HexEdit edit;
    QTest::keyClicks(&edit, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(edit.text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Keys, HexEditTyping,
                         ::testing::Values(TypingCase{"02c0a7", "02C0A7"}, TypingCase{"abcdef", "ABCDEF"},
                                           TypingCase{"0123456789", "0123456789"}, TypingCase{"g", ""},
                                           TypingCase{"a-b:c", "ABC"}, TypingCase{"1 2", "12"}, TypingCase{"x", ""}));

TEST(HexEdit, BackspaceAndUndoPass) {
    HexEdit edit;
    QTest::keyClicks(&edit, "ab1");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "AB");
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "AB1");
}

TEST(HexEdit, PasteIsOnlyUpperCased) {
    HexEdit edit;
    QApplication::clipboard()->setText("02c0a7-zz:9");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "02C0A7-ZZ:9");
}

TEST(HexEdit, PasteKeepsTheLengthLimit) {
    HexEdit edit;
    edit.setMaxLength(12);
    QApplication::clipboard()->setText("02c0a7a1b2c3d4e5");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "02C0A7A1B2C3");
}

TEST(HexEdit, CopyAndCutPass) {
    HexEdit edit;
    QTest::keyClicks(&edit, "a1b2");
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "A1B2");
}

}  // namespace
