#include "play/ConvertirNumero.h"

#include <gtest/gtest.h>

TEST(ConvertirNumero, TextosQueNoConfirman) {
  for (const char* t : {"0", "-0", "12a", "-", "+", "5 ", "", " ", "$", "x", "0x", "0X",
                        "$G", "1-2", "--5", "+-5", "-$1F", " -", "5.0"})
    EXPECT_FALSE(NumeroAceptable(t)) << '"' << t << '"';
}

TEST(ConvertirNumero, TextosQueConfirman) {
  EXPECT_EQ(ConvertirNumero(" 5"), 5);
  EXPECT_EQ(ConvertirNumero("   +5"), 5);
  EXPECT_EQ(ConvertirNumero("+5"), 5);
  EXPECT_EQ(ConvertirNumero("-5"), -5);
  EXPECT_EQ(ConvertirNumero("$1F"), 31);
  EXPECT_EQ(ConvertirNumero("x1f"), 31);
  EXPECT_EQ(ConvertirNumero("X10"), 16);
  EXPECT_EQ(ConvertirNumero("0x10"), 16);
  EXPECT_EQ(ConvertirNumero("0XfF"), 255);
  EXPECT_EQ(ConvertirNumero("007"), 7);
  EXPECT_EQ(ConvertirNumero("99999999"), 99999999);
  EXPECT_EQ(ConvertirNumero("-9999999"), -9999999);
  EXPECT_EQ(ConvertirNumero("86399999"), 86399999);
  for (const char* t : {" 5", "+5", "-5", "$1F"}) EXPECT_TRUE(NumeroAceptable(t)) << t;
}

TEST(ConvertirNumero, RangoDe32Bits) {
  EXPECT_EQ(ConvertirNumero("2147483647"), 2147483647);
  EXPECT_EQ(ConvertirNumero("-2147483648"), INT32_MIN);
  EXPECT_EQ(ConvertirNumero("2147483648"), std::nullopt);
  EXPECT_EQ(ConvertirNumero("-2147483649"), std::nullopt);
  EXPECT_EQ(ConvertirNumero("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(ConvertirNumero("$80000000"), std::nullopt);
  EXPECT_EQ(ConvertirNumero("99999999999999999999999"), std::nullopt);
  // Zero is a number, only the dialog refuses it.
  EXPECT_EQ(ConvertirNumero("-0"), 0);
  EXPECT_EQ(ConvertirNumero("$0"), 0);
}
