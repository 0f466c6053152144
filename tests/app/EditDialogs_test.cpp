#include "app/CAdjsTmPrtChsDlg.h"
#include "app/CAdjsTmPrtDlg.h"

#include "tests/support/TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

int chooseBy(const QString& text) {
    CAdjsTmPrtChsDlg dialog{nullptr};
    QTimer::singleShot(0, [&] { button(dialog, text)->click(); });
    dialog.exec();
    return dialog.choice();
}

TEST(SelectHowToAdjust, EachButtonGivesItsChoice) {
    EXPECT_EQ(chooseBy("Recalculate"), CAdjsTmPrtChsDlg::kRecalculate);
    EXPECT_EQ(chooseBy("Diminish"), CAdjsTmPrtChsDlg::kDiminish);
    EXPECT_EQ(chooseBy("Cancel"), CAdjsTmPrtChsDlg::kNone);
    QString topic;
    CAdjsTmPrtChsDlg dialog{[&topic](const QString& t) { topic = t; }};
    button(dialog, "Help")->click();
    EXPECT_EQ(topic, "adjstTmPrtChsDlgV.htm");
}

class AdjustDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        requests.transfer = [this](double amount) { transferred = amount; };
        requests.applyRequested = [this](double part) { applied = part; };
        requests.forgetPair = [this] { ++forgotten; };
        dialog =
            std::make_unique<CAdjsTmPrtDlg>(numberformat::TimeFactors{8, 7, 30},
                                            app.core->library(), app.core->messages(), requests);
        dialog->show();
        dialog->openFor("Sleep", 60, 50, 2);
    }

    QLineEdit* field(int index) { return dialog->findChildren<QLineEdit*>()[index]; }

    TestApp app;
    CAdjsTmPrtDlg::Requests requests;
    std::unique_ptr<CAdjsTmPrtDlg> dialog;
    double transferred = -1;
    double applied = -1;
    int forgotten = 0;
};

TEST_F(AdjustDialogTest, ShowsThePartAndTheExcessInTheChosenUnit) {
    EXPECT_EQ(dialog->requestedText(), "33:36"); // 60 % of 56 hours a week
    EXPECT_TRUE(dialog->transferPanelShown());
    EXPECT_EQ(dialog->excessText(), "5:36"); // 10 %
    if (const char* folder = std::getenv("QLN_SCREENSHOT_DIR"))
        dialog->grab().save(QString::fromLocal8Bit(folder) + "/adjust.png");
    EXPECT_EQ(dialog->donorText(),
              "hours per week that have item \"(activate an item in \"Input view\")\"");
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    EXPECT_EQ(dialog->requestedText(), "60");
    EXPECT_EQ(dialog->excessText(), "10");
}

TEST_F(AdjustDialogTest, EachKeystrokeIsCheckedAgainst100Percent) {
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    QLineEdit* requested = field(0);
    requested->clear();
    QTest::keyClicks(requested, "101");
    EXPECT_EQ(app.sink.texts.back(),
              "Please input a number less or equal 100 because otherwise the time part "
              "would have been grater than 100%");
    EXPECT_DOUBLE_EQ(dialog->requestedPart(), 10); // "1", then "10", then "101" refused
    EXPECT_EQ(requested->text(), "10");
    app.sink.texts.clear();
    QTest::keyClicks(requested, "x");
    EXPECT_TRUE(app.sink.texts.empty()); // refused silently
    EXPECT_EQ(requested->text(), "10");
    EXPECT_FALSE(dialog->transferPanelShown()); // 10 + 50 is within 100
}

TEST_F(AdjustDialogTest, SubtractMovesAtMostTheExcessFromTheDonor) {
    dialog->findChild<QComboBox*>()->setCurrentIndex(0);
    QLineEdit* amount = field(1);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_EQ(transferred, -1); // no donor yet
    dialog->setDonor("Work. Mail", 4);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_DOUBLE_EQ(transferred, 4); // the donor has only 4
    dialog->setDonor("Work. Code", 20);
    amount->setText("30");
    button(*dialog, "Subtract from:")->click();
    EXPECT_DOUBLE_EQ(transferred, 10); // the excess is 10
    button(*dialog, "OK")->click();
    EXPECT_DOUBLE_EQ(applied, 60);
    EXPECT_TRUE(dialog->isClosed());
    EXPECT_EQ(forgotten, 1);
}

} // namespace
