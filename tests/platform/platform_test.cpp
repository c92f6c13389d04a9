#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "zel/zel.h"

TEST(Platform_CString, NullFormatAndBuffer)
{
    CString s(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty() && s == static_cast<const char*>(nullptr));

    const std::string longText(5000, 'x');
    s.Format("<%s|%d>", longText.c_str(), 42);
    EXPECT_EQ("<" + longText + "|42>", std::string(s));

    std::snprintf(s.GetBuffer(10), 11, "%s", "hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_TRUE(s == "hello");
    s.GetBuffer();
    s.ReleaseBuffer(2);
    EXPECT_TRUE(s == CString("he") && s != "hello");
}

TEST(Platform_CString, CaseChangesOnlyAsciiLetters)
{
    CString up("aZ_09[`{@\xe9\xc9"), low(up);
    up.MakeUpper();
    low.MakeLower();
    EXPECT_STREQ("AZ_09[`{@\xe9\xc9", up);
    EXPECT_STREQ("az_09[`{@\xe9\xc9", low);
}

TEST(Platform_CStringList, KeepsOrderAndCount)
{
    CStringList list;
    EXPECT_STREQ("", list.RemoveHead());
    EXPECT_EQ(0, list.GetCount());
    list.AddTail("one");
    list.AddTail(CString("two"));
    list.AddTail(static_cast<const char*>(nullptr));
    std::string walked;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        walked += std::string(list.GetNext(pos)) + ";";
    EXPECT_EQ("one;two;;", walked);
    EXPECT_STREQ("one", list.RemoveHead());
    EXPECT_EQ(2, list.GetCount());
    list.RemoveAll();
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail("again");  // the tail is reset with the head
    EXPECT_STREQ("again", list.GetHead());
    EXPECT_EQ(1, list.GetCount());
}

TEST(Platform_CMapStringToPtr, InsertReplaceLookupExactCase)
{
    CMapStringToPtr map(10);
    int a = 0, b = 0;
    map["key"] = &a;
    map["key"] = &b;
    map["KEY"] = &a;
    void* value = nullptr;
    ASSERT_TRUE(map.Lookup("key", value));
    EXPECT_EQ(&b, value);
    EXPECT_FALSE(map.Lookup("Key", value));
    map.RemoveAll();
    EXPECT_FALSE(map.Lookup("KEY", value));
}
