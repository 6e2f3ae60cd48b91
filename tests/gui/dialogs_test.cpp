// The comment, options and details dialogs with their OK and Cancel buttons.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ccommentdlg.h"
#include "cdetailsdlg.h"
#include "coptiondlg.h"

namespace kelno {
namespace {

void Click(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(CCommentDlg, OkTakesTheControlsAndCancelKeepsTheValues) {
    for (const bool ok : {true, false}) {
        CCommentDlg dialog(QStringLiteral("前の\nコメント"), false);
        dialog.show();
        EXPECT_EQ(dialog.textEdit()->toPlainText(), QStringLiteral("前の\nコメント"));
        EXPECT_FALSE(dialog.showOnOpenBox()->isChecked());
        dialog.textEdit()->selectAll();
        dialog.textEdit()->insertPlainText(QStringLiteral("一行目"));
        QTest::keyClick(dialog.textEdit(), Qt::Key_Return);  // a new line, not OK
        dialog.textEdit()->insertPlainText(QStringLiteral("二行目"));
        EXPECT_TRUE(dialog.isVisible());
        dialog.showOnOpenBox()->setChecked(true);
        Click(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.commentText(),
                  ok ? QStringLiteral("一行目\n二行目") : QStringLiteral("前の\nコメント"));
        EXPECT_EQ(dialog.showCommentOnOpen(), ok);
    }
}

TEST(COptionDlg, OkTakesTheControlsAndCancelKeepsTheValues) {
    const DocumentOptions before{false, false, true, 10};
    for (const bool ok : {true, false}) {
        COptionDlg dialog(before);
        dialog.SetExplainShort(true);
        dialog.show();
        EXPECT_EQ(dialog.undoBufferEdit()->text(), QStringLiteral("10"));
        EXPECT_TRUE(dialog.explainShortBox()->isChecked());
        dialog.explainShortBox()->setChecked(false);
        dialog.smoothDisplayBox()->setChecked(true);
        dialog.showCurrentFlowBox()->setChecked(false);
        dialog.noDiagonalWiresBox()->setChecked(true);
        dialog.undoBufferEdit()->selectAll();
        QTest::keyClicks(dialog.undoBufferEdit(), QStringLiteral("-25x"));  // digits only
        EXPECT_EQ(dialog.undoBufferEdit()->text(), QStringLiteral("25"));
        Click(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        const DocumentOptions after{true, true, false, 25};
        EXPECT_EQ(dialog.options(), ok ? after : before);
        EXPECT_EQ(dialog.explainShort(), !ok);
    }
}

TEST(COptionDlg, UndoBufferThatIsNoIntegerKeepsTheDialogOpen) {
    for (const QString& text : {QString(), QStringLiteral("99999999999")}) {
        COptionDlg dialog(DocumentOptions{});
        std::vector<QString> messages;
        dialog.SetMessageSink([&](const QString& message) { messages.push_back(message); });
        dialog.show();
        dialog.undoBufferEdit()->setText(text);
        dialog.smoothDisplayBox()->setChecked(true);
        Click(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("整数を入力してください。")});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.options().smoothDisplay);
        Click(dialog, QDialogButtonBox::Cancel);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(CDetailsDlg, ShowsFifteenDigitsAndOkTakesTheBoxesWhileCancelKeepsTheValues) {
    const DetailsValues shown{0.1, 1.0 / 3.0, 0.01234};
    for (const bool ok : {true, false}) {
        CDetailsDlg dialog(shown);
        dialog.show();
        EXPECT_EQ(dialog.resistanceEdit()->text(), QStringLiteral("0.1"));
        EXPECT_EQ(dialog.emfEdit()->text(), QStringLiteral("0.333333333333333"));
        EXPECT_EQ(dialog.currentEdit()->text(), QStringLiteral("0.01234"));
        EXPECT_TRUE(dialog.currentEdit()->isReadOnly());
        dialog.resistanceEdit()->selectAll();
        QTest::keyClicks(dialog.resistanceEdit(), QStringLiteral(" 220 "));
        dialog.emfEdit()->setText(QStringLiteral(".5"));
        Click(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        const DetailsValues taken{220.0, 0.5, 0.01234};
        EXPECT_EQ(dialog.values(), ok ? taken : shown) << ok;
    }
}

// A box that holds no number keeps the dialog open with that box's text selected, the
// values as they were; the boxes hold at most 31 characters.
TEST(CDetailsDlg, BoxWithoutANumberIsRefusedWithTheFocusBackOnIt) {
    struct Case {
        const char* resistance;
        const char* emf;
        bool refusesResistance;
    };
    for (const Case& c :
         {Case{"abc", "1.5", true}, Case{"", "1.5", true}, Case{"-0", "1", true},
          Case{"nan", "1", true}, Case{"100", "1.5V", false}, Case{"100", "1e999", false}}) {
        const DetailsValues shown{100.0, 0.0, 0.0};
        CDetailsDlg dialog(shown);
        std::vector<QString> messages;
        dialog.SetMessageSink([&](const QString& message) { messages.push_back(message); });
        dialog.show();
        dialog.resistanceEdit()->setText(QString::fromUtf8(c.resistance));
        dialog.emfEdit()->setText(QString::fromUtf8(c.emf));
        dialog.resistanceEdit()->setFocus();
        Click(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("数字を入力してください。")})
            << c.resistance << " " << c.emf;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.values(), shown);
        QLineEdit* refused = c.refusesResistance ? dialog.resistanceEdit() : dialog.emfEdit();
        EXPECT_EQ(dialog.focusWidget(), refused) << c.resistance << " " << c.emf;
        EXPECT_EQ(refused->selectedText(), refused->text());
        Click(dialog, QDialogButtonBox::Cancel);
    }
    CDetailsDlg dialog(DetailsValues{});
    dialog.resistanceEdit()->setText(QString(40, QLatin1Char('1')));
    EXPECT_EQ(dialog.resistanceEdit()->text().size(), 31);
}

TEST(CDetailsDlg, NegativeResistanceIsRefusedUnlessAllowedAndFullWidthNumbersAreRead) {
    for (const bool allowed : {false, true}) {
        DetailsValues shown{5.0, 0.0, 0.25};
        shown.negativeResistanceAllowed = allowed;
        CDetailsDlg dialog(shown);
        std::vector<QString> messages;
        dialog.SetMessageSink([&](const QString& message) { messages.push_back(message); });
        dialog.show();
        dialog.resistanceEdit()->setText(QStringLiteral("－５"));
        dialog.emfEdit()->setText(QStringLiteral("１．５"));
        Click(dialog, QDialogButtonBox::Ok);
        if (allowed) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.values().resistance, -5.0);
            EXPECT_EQ(dialog.values().emf, 1.5);
            continue;
        }
        EXPECT_EQ(messages, std::vector<QString>{
                                QStringLiteral("抵抗には 0 以上の数字を入力してください。")});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.values(), shown);
        EXPECT_EQ(dialog.focusWidget(), dialog.resistanceEdit());
        Click(dialog, QDialogButtonBox::Cancel);
    }
}

TEST(CDetailsDlg, CurrentBoxLooksReadOnlyAndIsEmptyAndUnreadWhileHidden) {
    DetailsValues shown{5.0, 0.0, 0.0};
    {
        CDetailsDlg dialog(shown);
        EXPECT_NE(dialog.currentEdit()->palette().color(QPalette::Base),
                  dialog.resistanceEdit()->palette().color(QPalette::Base));
    }
    shown.currentHidden = true;
    CDetailsDlg dialog(shown);
    dialog.show();
    EXPECT_TRUE(dialog.currentEdit()->text().isEmpty());
    EXPECT_FALSE(dialog.currentEdit()->isEnabled());
    dialog.resistanceEdit()->setText(QStringLiteral("10"));
    Click(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().resistance, 10.0);
}

}  // namespace
}  // namespace kelno
