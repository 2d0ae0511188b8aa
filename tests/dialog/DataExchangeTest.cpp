#include "dialog/DataExchange.h"

#include "FakeView.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEditId = ControlIds::kSerialNumber;
constexpr int kAddressId = ControlIds::kAddress;

class DataExchangeTest : public ::testing::Test {
protected:
    DataExchangeTest() { view.TypeAddress("10.9.8.7"); }

    ScopedFakePlatform platform;
    FakeView view;
};

class LoadedAddress : public DataExchangeTest,
                      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(LoadedAddress, OnlyFourNumbersReachTheControl) {
    DataExchange dx(view, false);
    std::string text = GetParam().first;
    DDX_IPAddressText(dx, kAddressId, text);
    EXPECT_EQ(view.AddressText(), GetParam().second);
    EXPECT_FALSE(dx.Failed());
}

INSTANTIATE_TEST_SUITE_P(Texts, LoadedAddress,
                         ::testing::Values(std::pair{"192.168.0.0", "192.168.0.0"}, std::pair{"1.2.3.4 ", "1.2.3.4"},
                                           std::pair{"", "10.9.8.7"}, std::pair{"fakehost", "10.9.8.7"},
                                           std::pair{"1.2.3.4 x", "10.9.8.7"}, std::pair{"1.2.3", "10.9.8.7"}));

TEST_F(DataExchangeTest, ALongTextFailsWithTheLimitMessage) {
    DataExchange dx(view, true);
    DDV_MaxChars(dx, kEditId, "0123456789ABC", 12);
    EXPECT_TRUE(dx.Failed());
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, "Please enter no more than 12 characters.");
    EXPECT_EQ(view.Control(kEditId).limit, 12);
}

TEST_F(DataExchangeTest, AFailureStopsTheRoutinesAfterIt) {
    view.Control(kEditId).text = "02C0A7";
    view.TypeAddress("1.2..4");
    DataExchange dx(view, true);
    DDV_SerialNumber(dx, kEditId, 202);
    std::string text = "unchanged";
    DDX_IPAddressText(dx, kAddressId, text);
    DDV_IPAddressFilled(dx, kAddressId, 203);
    EXPECT_TRUE(dx.Failed());
    EXPECT_EQ(text, "unchanged");
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].text, "Invalid serial number!");
}

TEST_F(DataExchangeTest, ChecksActOnSaveOnly) {
    view.Control(kEditId).text = "nonsense";
    view.TypeAddress("");
    DataExchange dx(view, false);
    DDV_SerialNumber(dx, kEditId, 202);
    DDV_IPAddressFilled(dx, kAddressId, 203);
    DDV_IPAddressReachable(dx, kAddressId, 209, 211);
    EXPECT_FALSE(dx.Failed());
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(DataExchangeTest, TheTextsTravelBothWays) {
    std::string serial = "02C0A7";
    DataExchange load(view, false);
    DDX_Text(load, kEditId, serial);
    EXPECT_EQ(view.Control(kEditId).text, "02C0A7");
    view.Control(kEditId).text = "02C0A7A1B2C3";
    DataExchange save(view, true);
    DDX_Text(save, kEditId, serial);
    EXPECT_EQ(serial, "02C0A7A1B2C3");
}

}  // namespace
