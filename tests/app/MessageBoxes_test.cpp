#include "app/MessageBoxes.h"
#include "app/Texts.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace tavrisk::app {
namespace {

using test::CatchModalBox;
using test::TestApplication;

void SendKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

enum class Act { Enter, Esc, CloseBox };

struct ConfirmationCase {
    const char* name;
    std::vector<BoxButton> buttons;
    Act act;
    BoxAnswer expected;
};

class ConfirmationKeys : public ::testing::TestWithParam<ConfirmationCase> {};

// Enter picks 确定 if present, else (&Y)是; Esc picks 放弃, else (&N)否, else
// 确定; the box's own close box is an answer of its own.
TEST_P(ConfirmationKeys, AnswerFollowsTheKeyRules) {
    TestApplication();
    const ConfirmationCase& c = GetParam();
    QtBoxes boxes;
    BoxAnswer answer = BoxAnswer::Ok;
    auto shown = CatchModalBox([&] { answer = boxes.Confirmation(nullptr, QStringLiteral("问题"), c.buttons); },
                               [&](QWidget* box) {
                                   if (c.act == Act::Enter) {
                                       SendKey(box, Qt::Key_Return);
                                   } else if (c.act == Act::Esc) {
                                       SendKey(box, Qt::Key_Escape);
                                   } else {
                                       box->close();
                                   }
                               });
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, QStringLiteral("确认"));
    EXPECT_EQ(shown->icon, QMessageBox::Question);
    EXPECT_EQ(shown->text, QStringLiteral("问题"));
    EXPECT_EQ(shown->buttons.size(), static_cast<qsizetype>(c.buttons.size()));
    EXPECT_EQ(answer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ConfirmationKeys,
    ::testing::Values(
        ConfirmationCase{"YesNoEnter", {BoxButton::Yes, BoxButton::No}, Act::Enter, BoxAnswer::Yes},
        ConfirmationCase{"YesNoEsc", {BoxButton::Yes, BoxButton::No}, Act::Esc, BoxAnswer::No},
        ConfirmationCase{"YesNoCloseBox", {BoxButton::Yes, BoxButton::No}, Act::CloseBox, BoxAnswer::Closed},
        ConfirmationCase{"OkCancelEnter", {BoxButton::Ok, BoxButton::Cancel}, Act::Enter, BoxAnswer::Ok},
        ConfirmationCase{"OkCancelEsc", {BoxButton::Ok, BoxButton::Cancel}, Act::Esc, BoxAnswer::Cancel},
        ConfirmationCase{"YesOkEnterPrefersOk", {BoxButton::Yes, BoxButton::Ok}, Act::Enter, BoxAnswer::Ok},
        ConfirmationCase{"YesNoCancelEscPrefersCancel",
                         {BoxButton::Yes, BoxButton::No, BoxButton::Cancel},
                         Act::Esc,
                         BoxAnswer::Cancel},
        ConfirmationCase{"OkAloneEsc", {BoxButton::Ok}, Act::Esc, BoxAnswer::Ok}),
    [](const ::testing::TestParamInfo<ConfirmationCase>& info) { return std::string(info.param.name); });

TEST(Boxes, InformationAndPlainBoxesHaveTheirCaptionsAndOneButton) {
    TestApplication();
    QtBoxes boxes;
    auto info = CatchModalBox([&] { boxes.Information(nullptr, QStringLiteral("完成")); });
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->title, QStringLiteral("信息"));
    EXPECT_EQ(info->icon, QMessageBox::Information);
    EXPECT_EQ(info->buttons, QStringList{QStringLiteral("确定")});

    auto plain = CatchModalBox([&] { boxes.Plain(nullptr, QStringLiteral("完成")); });
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->title, AppTitle());
    EXPECT_EQ(plain->icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain->buttons, QStringList{QStringLiteral("确定")});
}

TEST(Boxes, InputBoxProposesSelectedTextLimitsTheFieldAndOnlyOkAccepts) {
    TestApplication();
    QtBoxes boxes;
    std::optional<QString> result;
    bool selected = false;
    int maxLength = 0;
    auto shown = CatchModalBox(
        [&] { result = boxes.Input(nullptr, QStringLiteral("标题"), QStringLiteral("提示"), QStringLiteral("12")); },
        [&](QWidget* box) {
            auto* field = box->findChild<QLineEdit*>();
            ASSERT_NE(field, nullptr);
            selected = field->selectedText() == QStringLiteral("12");
            maxLength = field->maxLength();
            field->setText(QStringLiteral("34"));
            SendKey(box, Qt::Key_Return);
        });
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, QStringLiteral("标题"));
    EXPECT_TRUE(selected);
    EXPECT_EQ(maxLength, 255);
    EXPECT_EQ(result, QStringLiteral("34"));

    CatchModalBox([&] { result = boxes.Input(nullptr, QStringLiteral("标题"), QStringLiteral("提示"), QString()); },
                  [&](QWidget* box) { SendKey(box, Qt::Key_Escape); });
    EXPECT_FALSE(result.has_value());
}

TEST(Boxes, SaveDialogAddsTheDefaultSuffixAndAsksBeforeOverwriting) {
    TestApplication();
    tavrisk::test::TempDir dir;
    tavrisk::test::WriteFile(dir.File("old.txt"), "x");
    const FileDialogOptions options{QStringLiteral("保存为"), QStringLiteral("Text files(*.txt);;All files(*)"),
                                    QStringLiteral("txt"), PathToQs(dir.Path())};
    QtBoxes boxes;

    std::optional<QString> chosen;
    QStringList filters;
    auto shown = CatchModalBox([&] { chosen = boxes.SaveFileName(nullptr, options); },
                               [&](QWidget* w) {
                                   auto* dialog = qobject_cast<QFileDialog*>(w);
                                   ASSERT_NE(dialog, nullptr);
                                   filters = dialog->nameFilters();
                                   dialog->selectFile(QStringLiteral("new"));
                                   static_cast<QDialog*>(dialog)->accept();
                               });
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, QStringLiteral("保存为"));
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Text files(*.txt)"), QStringLiteral("All files(*)")}));
    EXPECT_EQ(chosen, PathToQs(dir.File("new.txt")));

    // An existing file is taken only after the overwrite question is answered yes.
    std::optional<test::ShownBox> question;
    CatchModalBox([&] { chosen = boxes.SaveFileName(nullptr, options); },
                  [&](QWidget* w) {
                      auto* dialog = qobject_cast<QFileDialog*>(w);
                      ASSERT_NE(dialog, nullptr);
                      dialog->selectFile(QStringLiteral("old.txt"));
                      question = CatchModalBox([&] { static_cast<QDialog*>(dialog)->accept(); },
                                               [](QWidget* box) {
                                                   auto* message = qobject_cast<QMessageBox*>(box);
                                                   ASSERT_NE(message, nullptr);
                                                   message->button(QMessageBox::Yes)->click();
                                               });
                  });
    EXPECT_TRUE(question.has_value());
    EXPECT_EQ(chosen, PathToQs(dir.File("old.txt")));
}

TEST(Boxes, OverrideIsInPlaceForItsLifetime) {
    QtBoxes* real = dynamic_cast<QtBoxes*>(&TheBoxes());
    ASSERT_NE(real, nullptr);
    {
        test::ScriptedBoxes scripted;
        BoxesOverride override(scripted);
        EXPECT_EQ(&TheBoxes(), &scripted);
    }
    EXPECT_EQ(&TheBoxes(), real);
}

}  // namespace
}  // namespace tavrisk::app
