// SPDX-License-Identifier: GPL-3.0-or-later
// Identity lists of a fleet write: reading them, refusing what the
// Optional Features dialog's boxes would not take, and storing the codes.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "files/channel_document.h"
#include "model/identity_list.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

std::vector<std::uint8_t> Bytes(const RadioImage& image, std::size_t from, std::size_t count) {
  return {image.bytes().begin() + from, image.bytes().begin() + from + count};
}

std::vector<std::uint8_t> Field(std::string_view text) {
  std::vector<std::uint8_t> field(text.begin(), text.end());
  field.resize(8, 0xFF);
  return field;
}

TEST(IdentityListTest, ReadsTheColumnsAsSpreadsheetsNameThemAndStoresTheCodesAsTheDialogDoes) {
  const Result<IdentityList> list = ParseIdentityList(
      "\xEF\xBB\xBFport;Radio ID;call_id;ANI;Name\r\n"
      "/dev/ttyUSB0;ab12;2001;5678;\"Unit 1; north\"\r\n"
      "COM2;;C-1;;\r\n"
      ";;;;\r\n");
  ASSERT_TRUE(list) << list.error().Message();
  EXPECT_EQ(list->key, IdentityKey::kPort);
  ASSERT_EQ(list->rows.size(), 2u);
  EXPECT_EQ(list->rows[0].line, 2);
  EXPECT_EQ(list->rows[0].port, "/dev/ttyUSB0");
  EXPECT_EQ(list->rows[0].identity, (RadioIdentity{"ab12", "2001", "5678", "Unit 1; north"}));
  EXPECT_EQ(list->rows[1].port, "COM2");
  EXPECT_EQ(list->rows[1].identity, (RadioIdentity{std::nullopt, "C-1", std::nullopt, ""}));

  RadioImage image = ChannelDocument::NewDocumentImage();
  SettingsBlock block(image);
  block.SetRadioIdText("OLD1");
  block.SetAniText("0042");
  block.StoreInto(image);
  const RadioImage before = image;

  const AppliedIdentity first = ApplyIdentity(list->rows[0].identity, image);
  EXPECT_EQ(Bytes(image, settings_map::kAni, 8), Field("1678"));
  EXPECT_EQ(Bytes(image, settings_map::kCallId, 8), Field("2001"));
  EXPECT_EQ(Bytes(image, settings_map::kRadioId, 8), Field("AB12"));
  EXPECT_EQ(first.Summary(), "Radio ID AB12, Call ID 2001, ANI 1678");
  EXPECT_EQ(first.notes, std::vector<std::string>{"ANI 5678 stored as 1678"});
  for (std::size_t i = 0; i < image_map::kSize; ++i) {
    if (i < settings_map::kAni || i >= settings_map::kRadioId + 8) {
      ASSERT_EQ(image.at(i), before.at(i)) << "byte " << i;
    }
  }

  // Empty cells keep the file's codes.
  RadioImage second = before;
  const AppliedIdentity applied = ApplyIdentity(list->rows[1].identity, second);
  EXPECT_EQ(Bytes(second, settings_map::kCallId, 8), Field("C01"));
  EXPECT_EQ(Bytes(second, settings_map::kRadioId, 8), Field("OLD1"));
  EXPECT_EQ(Bytes(second, settings_map::kAni, 8), Field("0042"));
  EXPECT_EQ(applied.Summary(), "Call ID C01");
  EXPECT_EQ(applied.notes, std::vector<std::string>{"Call ID C-1 stored as C01"});
}

TEST(IdentityListTest, AnOrderListNamesRadiosByPosition) {
  const Result<IdentityList> list = ParseIdentityList("Order,Ani\n2,0101\n1,\n");
  ASSERT_TRUE(list) << list.error().Message();
  EXPECT_EQ(list->key, IdentityKey::kOrder);
  ASSERT_EQ(list->rows.size(), 2u);
  EXPECT_EQ(list->rows[0].order, 2);
  EXPECT_EQ(list->rows[0].identity.ani, "0101");
  EXPECT_EQ(list->rows[1].order, 1);
  EXPECT_EQ(list->rows[1].identity, RadioIdentity{});
}

TEST(IdentityListTest, EachMistakeIsRefusedWithItsLineAndWhatIsWrong) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", "the identity list is empty"},
      {"Port,Radio\n",
       "line 1: unknown column \"Radio\"; the columns are Port or Order, RadioId, CallId, Ani "
       "and Name"},
      {"Port,Ani,ANI\n", "line 1: column Ani is named twice"},
      {"Port,Order\n", "line 1: both a Port and an Order column; name the radios by one"},
      {"Name,Ani\nx,1\n", "line 1: no Port or Order column to say which radio a row is for"},
      {"Port,RadioId\nCOM1,AB-12\n", "line 2: RadioId \"AB-12\" may hold letters and digits only"},
      {"Port,RadioId\nCOM1,123456789\n",
       "line 2: RadioId \"123456789\" is longer than 8 characters"},
      {"Port,CallId\nCOM1,ABCDEFGHI\n", "line 2: CallId \"ABCDEFGHI\" is longer than 8 characters"},
      {"Order,Ani\n1,12a\n", "line 2: Ani \"12a\" may hold digits only"},
      {"Order,Ani\n1,12345\n", "line 2: Ani \"12345\" has more than 4 digits"},
      {"Order,Ani\n0,1\n", "line 2: Order \"0\" is not a position 1 to 999"},
      {"Order,Ani\n,1\n", "line 2: no Order"},
      {"Port,Ani\nCOM1,1\n\ncom1,2\n", "line 4: port com1 has a row already (line 2)"},
      {"Port,Ani\nCOM1,1,2\n", "line 2: 3 fields, but the header names 2 columns"},
      {"Port,Name\nCOM1,\"open\n", "line 2: a quoted field is not closed"},
      {"Port,Ani\n", "the identity list names no radio"},
  };
  for (const Case& c : cases) {
    const Result<IdentityList> list = ParseIdentityList(c.text);
    ASSERT_FALSE(list) << c.text;
    EXPECT_EQ(list.error().Message(), c.message) << c.text;
  }
}

}  // namespace
}  // namespace zlm5
