#include "app/SpinEdit.h"
#include "tests/app/AppTestSupport.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::TestApplication;

// Types text key by key, as the keyboard would deliver it.
void Type(SpinEdit& edit, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}

void Press(SpinEdit& edit, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &press);
}

void LoseFocus(SpinEdit& edit) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &out);
}

struct TypingCase {
    QString typed;
    QString text;
    int refused;
};

TEST(SpinEdit, TypingAcceptsOnlyDigitsSignsAndTheDecimalSeparator) {
    TestApplication();
    const TypingCase cases[] = {
        {QStringLiteral("120"), QStringLiteral("120"), 0}, {QStringLiteral("+-."), QStringLiteral("+-."), 0},
        {QStringLiteral("1a2"), QStringLiteral("12"), 1},  {QStringLiteral("五 x,"), QString(), 4},
        {QStringLiteral("e5"), QStringLiteral("5"), 1},
    };
    for (const TypingCase& c : cases) {
        SpinEdit edit(1, 1000, 5);
        edit.SetText(QString());
        int refused = 0;
        QObject::connect(&edit, &SpinEdit::Refused, [&] { ++refused; });
        Type(edit, c.typed);
        EXPECT_EQ(edit.Text(), c.text) << c.typed.toStdString();
        EXPECT_EQ(refused, c.refused) << c.typed.toStdString();
    }
}

TEST(SpinEdit, EnterIsRefusedAndEditingKeysWork) {
    TestApplication();
    SpinEdit edit(1, 1000, 5);
    edit.SetText(QStringLiteral("12"));
    int refused = 0;
    QObject::connect(&edit, &SpinEdit::Refused, [&] { ++refused; });
    Press(edit, Qt::Key_Return, QStringLiteral("\r"));
    Press(edit, Qt::Key_Enter, QStringLiteral("\r"));
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(edit.Text(), QStringLiteral("12"));
    Press(edit, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(edit.Text(), QStringLiteral("1"));
    Press(edit, Qt::Key_Home);
    Press(edit, Qt::Key_Delete, QString(QChar(0x7f)));
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(edit.Text(), QString());
}

struct ReadCase {
    QString text;
    int value;
};

// Text that is not a whole number reads as the minimum; a whole number reads
// as it stands, even outside the range, until the field is corrected.
TEST(SpinEdit, ReadingTheText) {
    TestApplication();
    const ReadCase cases[] = {
        {QStringLiteral("5"), 5},
        {QStringLiteral("2000"), 2000},
        {QStringLiteral("0"), 0},
        {QStringLiteral("-3"), -3},
        {QStringLiteral("+7"), 7},
        {QStringLiteral(" 12"), 12},
        {QString(), 1},
        {QStringLiteral("-"), 1},
        {QStringLiteral("abc"), 1},
        {QStringLiteral("5.0"), 1},
        {QStringLiteral("1-2"), 1},
        {QStringLiteral("2147483647"), 2147483647},
        {QStringLiteral("2147483648"), 1},
        {QStringLiteral("-2147483648"), -2147483647 - 1},
        {QStringLiteral("99999999999"), 1},
    };
    SpinEdit edit(1, 1000, 5);
    for (const ReadCase& c : cases) {
        edit.SetText(c.text);
        EXPECT_EQ(edit.Value(), c.value) << '"' << c.text.toStdString() << '"';
    }
}

TEST(SpinEdit, ValueSetByTheProgramIsBroughtIntoRange) {
    TestApplication();
    SpinEdit edit(1, 76, 76);
    EXPECT_EQ(edit.Text(), QStringLiteral("76"));
    const std::pair<int, QString> cases[] = {{0, QStringLiteral("1")},
                                             {-5, QStringLiteral("1")},
                                             {30, QStringLiteral("30")},
                                             {77, QStringLiteral("76")},
                                             {1000000, QStringLiteral("76")}};
    for (const auto& [value, text] : cases) {
        edit.SetValue(value);
        EXPECT_EQ(edit.Text(), text) << value;
    }
}

struct StepCase {
    QString text;
    int steps;
    QString after;
};

TEST(SpinEdit, ArrowsStepByOneFromTheValueReadAndStopAtTheBounds) {
    TestApplication();
    const StepCase cases[] = {
        {QStringLiteral("5"), 1, QStringLiteral("6")},
        {QStringLiteral("999"), 2, QStringLiteral("1000")},
        {QStringLiteral("1000"), 1, QStringLiteral("1000")},
        {QStringLiteral("1"), -1, QStringLiteral("1")},
        {QStringLiteral("2000"), 1, QStringLiteral("1000")},
        {QStringLiteral("abc"), 1, QStringLiteral("2")},
        {QStringLiteral("2147483647"), 1, QStringLiteral("1000")},
    };
    SpinEdit edit(1, 1000, 5);
    for (const StepCase& c : cases) {
        edit.SetText(c.text);
        for (int i = 0; i < std::abs(c.steps); ++i) {
            Press(edit, c.steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        EXPECT_EQ(edit.Text(), c.after) << c.text.toStdString() << " " << c.steps;
    }
}

TEST(SpinEdit, LeavingTheFieldCorrectsAWholeNumberOutOfRangeOnly) {
    TestApplication();
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("2000"), QStringLiteral("1000")}, {QStringLiteral("0"), QStringLiteral("1")},
        {QStringLiteral("-5"), QStringLiteral("1")},      {QStringLiteral("500"), QStringLiteral("500")},
        {QStringLiteral("abc"), QStringLiteral("abc")},   {QString(), QString()},
    };
    SpinEdit edit(1, 1000, 5);
    for (const auto& [typed, after] : cases) {
        edit.SetText(typed);
        LoseFocus(edit);
        EXPECT_EQ(edit.Text(), after) << typed.toStdString();
    }
}

}  // namespace
}  // namespace tavrisk::app
