// The string and string-list types of the interface; the map is tried through the keyword index.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "zel/zel.h"

TEST(Platform_CString, NullFormatBufferAndAsciiCase)
{
    CString s(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty() && s == static_cast<const char*>(nullptr));
    s.Format("<%s|%d>", std::string(5000, 'x').c_str(), 42);
    EXPECT_EQ("<" + std::string(5000, 'x') + "|42>", std::string(s));
    std::snprintf(s.GetBuffer(16), 17, "%s", "aZ_09[`{@\xe9\xc9");
    s.ReleaseBuffer();
    s.MakeUpper();  // only the ASCII letters change case
    EXPECT_TRUE(s.GetLength() == 11 && s == "AZ_09[`{@\xe9\xc9");
    s.MakeLower();
    EXPECT_STREQ("az_09[`{@\xe9\xc9", s);
    s.GetBuffer();
    s.ReleaseBuffer(2);
    EXPECT_TRUE(s.GetLength() == 2 && s == "az");
}

TEST(Platform_CStringList, KeepsOrderAndCount)
{
    CStringList list;
    EXPECT_STREQ("", list.RemoveHead());
    list.AddTail("one");
    list.AddTail(static_cast<const char*>(nullptr));
    EXPECT_TRUE(list.GetCount() == 2 && list.RemoveHead() == "one" && list.RemoveHead() == "" && list.GetCount() == 0);
    list.AddTail("x");  // the tail is reset when the list runs empty, and by RemoveAll
    list.RemoveAll();
    list.AddTail("again");
    EXPECT_TRUE(list.GetCount() == 1 && list.GetHead() == "again");
}
