#include <gtest/gtest.h>

#include "ui/StdString.h"

TEST(CStdString, OperationsTheProgramUses) {
    CStdString s("GPRS2Lora_disable.png");
    EXPECT_EQ(s.Find("disable"), 10);
    EXPECT_EQ(s.Find("enable"), -1) << "\"disable\" does not hold \"enable\"";
    EXPECT_EQ(s.Find("able"), 13);
    EXPECT_EQ(s.Find("absent"), -1);
    EXPECT_EQ(s.Find("a", 100), -1);
    EXPECT_EQ(s.Right(4).str(), ".png");
    EXPECT_EQ(s.Right(100).str(), s.str());
    EXPECT_EQ(s.Left(4).str(), "GPRS");
    EXPECT_EQ(s.Mid(5, 4).str(), "Lora");
    EXPECT_EQ(s.GetAt(0), 'G');
    EXPECT_EQ(s.GetAt(-1), 0);
    EXPECT_EQ(s.GetAt(1000), 0);

    CStdString t = s;
    EXPECT_EQ(t.Replace("disable", "enable"), 1);
    EXPECT_EQ(t.str(), "GPRS2Lora_enable.png");
    EXPECT_EQ(t.Replace("", "x"), 0);
    CStdString many("aaa");
    EXPECT_EQ(many.Replace("a", "bb"), 3);
    EXPECT_EQ(many.str(), "bbbbbb");

    CStdString f;
    f.Format("%s:%s", "send", "AT+SHOW\r\n");
    EXPECT_EQ(f.str(), "send:AT+SHOW\r\n");
    EXPECT_EQ(CStdString::Formatted("%04d/%02d", 2018, 3).str(), "2018/03");
    EXPECT_EQ(CStdString("abc").Compare("abd"), -1);
    EXPECT_EQ(CStdString("abc").Compare("abc"), 0);
    EXPECT_TRUE(CStdString("").IsEmpty());
    EXPECT_EQ(CStdString("a\0b", 3).GetLength(), 3);
}
