#include "ui/DataExchange.h"

#include "RecordingMessageBoxes.h"
#include "platform/fake/FakePlatform.h"
#include "ui/IPAddressCtrl.h"

#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

constexpr int kEditId = 1043;
constexpr int kAddressId = 1013;

class DataExchangeTest : public ::testing::Test {
protected:
    DataExchangeTest() {
        edit = new QLineEdit(&dialog);
        edit->setProperty("controlId", kEditId);
        address = new IPAddressCtrl(&dialog);
        address->setProperty("controlId", kAddressId);
        address->SetText("10.9.8.7");
    }

    ScopedFakePlatform platform;
    RecordingMessageBoxes boxes;
    QDialog dialog;
    QLineEdit* edit;
    IPAddressCtrl* address;
};

class LoadedAddress : public DataExchangeTest,
                      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(LoadedAddress, OnlyFourNumbersReachTheControl) {
    DataExchange dx(&dialog, false);
    QString text = GetParam().first;
    DDX_IPAddressText(dx, kAddressId, text);
    EXPECT_EQ(address->Text().toStdString(), GetParam().second);
    EXPECT_FALSE(dx.Failed());
}

INSTANTIATE_TEST_SUITE_P(Texts, LoadedAddress,
                         ::testing::Values(std::pair{"192.168.0.0", "192.168.0.0"}, std::pair{"1.2.3.4 ", "1.2.3.4"},
                                           std::pair{"", "10.9.8.7"}, std::pair{"fakehost", "10.9.8.7"},
                                           std::pair{"1.2.3.4 x", "10.9.8.7"}, std::pair{"1.2.3", "10.9.8.7"}));

TEST_F(DataExchangeTest, ALongTextFailsWithTheLimitMessage) {
    DataExchange dx(&dialog, true);
    QString value = "0123456789ABC";
    DDV_MaxChars(dx, kEditId, value, 12);
    EXPECT_TRUE(dx.Failed());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Please enter no more than 12 characters.");
    EXPECT_EQ(edit->maxLength(), 12);
}

TEST_F(DataExchangeTest, AFailureStopsTheRoutinesAfterIt) {
    edit->setText("02C0A7");
    address->SetText("1.2..4");
    DataExchange dx(&dialog, true);
    DDV_SerialNumber(dx, kEditId, 202);
    QString text = "unchanged";
    DDX_IPAddressText(dx, kAddressId, text);
    DDV_IPAddressFilled(dx, kAddressId, 203);
    EXPECT_TRUE(dx.Failed());
    EXPECT_EQ(text, "unchanged");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Invalid serial number!");
}

TEST_F(DataExchangeTest, ChecksActOnSaveOnly) {
    edit->setText("nonsense");
    address->SetText("");
    DataExchange dx(&dialog, false);
    DDV_SerialNumber(dx, kEditId, 202);
    DDV_IPAddressFilled(dx, kAddressId, 203);
    DDV_IPAddressReachable(dx, kAddressId, 209, 211);
    EXPECT_FALSE(dx.Failed());
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
