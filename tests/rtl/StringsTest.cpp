#include "framework/rtl/Strings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"

namespace {

std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

using V = std::vector<std::string>;

class TChangeCounter : public TObject {
public:
    void Count(TObject*) { ++Changes; }
    int Changes = 0;
};

}  // namespace

TEST(StringList, SetTextSplitsAtEveryLineBreakKindWithoutEmptyLastLine) {
    TStringList list;
    list.SetText("a\r\nb\rc\nd");
    EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d"}));
    list.SetText("a\r\n");
    EXPECT_EQ(Lines(list), (V{"a"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("\r\n");
    EXPECT_EQ(Lines(list), (V{""}));
    list.SetText("a\n\nb\n\n");
    EXPECT_EQ(Lines(list), (V{"a", "", "b", ""}));
    list.SetText("\n\r");
    EXPECT_EQ(Lines(list), (V{"", ""}));
    list.SetText("x\r\r\ny");
    EXPECT_EQ(Lines(list), (V{"x", "", "y"}));
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    list.Add("one");
    list.Add("");
    list.Add("\xB2\xE9");
    EXPECT_EQ(list.Text(), "one\r\n\r\n\xB2\xE9\r\n");
}

TEST(StringList, EditsKeepObjectsWithTheirStrings) {
    TStringList list;
    TObject a, b;
    EXPECT_EQ(list.Add("first"), 0);
    EXPECT_EQ(list.AddObject("second", &a), 1);
    list.InsertObject(0, "zero", &b);
    EXPECT_EQ(Lines(list), (V{"zero", "first", "second"}));
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Objects(2), &a);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Objects(0), &a);
    EXPECT_EQ(list[0], "second");
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (V{"first", "zero", "second"}));
    EXPECT_EQ(list.Objects(2), &a);
    list.SetString(1, "one");
    EXPECT_EQ(list.Objects(1), &b);
    list.Delete(0);
    EXPECT_EQ(Lines(list), (V{"one", "second"}));
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexErrorsAreListErrors) {
    TStringList list;
    list.Add("x");
    EXPECT_THROW(list.Strings(1), EListError);
    EXPECT_THROW(list.Strings(-1), EListError);
    EXPECT_THROW(list.Objects(1), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.Insert(2, "y"), EListError);
    EXPECT_NO_THROW(list.Insert(1, "y"));
    try {
        list.Strings(5);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
}

TEST(StringList, IndexOfIgnoresAsciiLetterCase) {
    TStringList list;
    list.SetText("TButton\nTEdit\ntedit");
    EXPECT_EQ(list.IndexOf("tedit"), 1);
    EXPECT_EQ(list.IndexOf("TBUTTON"), 0);
    EXPECT_EQ(list.IndexOf("TMemo"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("tedit"), 2);
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText("TRzButton=button\nTcxButton=bitbtn\nnoequals\nTRzButton=second\n=empty");
    EXPECT_EQ(list.Names(0), "TRzButton");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(1), "bitbtn");
    EXPECT_EQ(list.Values("trzbutton"), "button");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("TCXBUTTON"), 1);
    list.SetValue("TcxButton", "panel");
    EXPECT_EQ(list[1], "TcxButton=panel");
    list.SetValue("New", "x");
    EXPECT_EQ(list[list.Count() - 1], "New=x");
    list.SetValue("TcxButton", "");
    EXPECT_EQ(list.IndexOfName("TcxButton"), -1);
}

TEST(StringList, SortedListsStayInOrderAndHandleDuplicates) {
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("fig");
    EXPECT_EQ(Lines(list), (V{"Apple", "fig", "pear"}));
    EXPECT_EQ(list.Add("APPLE"), 0);  // dupIgnore: the existing index
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("fig"), EListError);
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("fig");
    EXPECT_EQ(list.Count(), 4);
    int32_t index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(list.IndexOf("pear"), 3);
    EXPECT_THROW(list.Insert(0, "x"), EListError);
}

TEST(StringList, SortAndCustomSort) {
    TStringList list;
    list.SetText("b\nC\na");
    list.Sort();
    EXPECT_EQ(Lines(list), (V{"a", "b", "C"}));
    list.CustomSort([](const TStringList& l, int32_t i, int32_t j) { return AnsiCompareStr(l[j], l[i]); });
    EXPECT_EQ(Lines(list), (V{"b", "a", "C"}));
}

TEST(StringList, ChangeEventsFireOncePerBatch) {
    TStringList list;
    TChangeCounter counter;
    list.SetOnChange(TNotifyEvent(&counter, &TChangeCounter::Count));
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(counter.Changes, 2);
    list.SetText("x\ny\nz");
    EXPECT_EQ(counter.Changes, 3);
    list.BeginUpdate();
    list.Delete(0);
    list.Delete(0);
    EXPECT_EQ(counter.Changes, 3);
    list.EndUpdate();
    EXPECT_EQ(counter.Changes, 4);
}

TEST(StringList, AssignCopiesStringsAndObjects) {
    TStringList a, b;
    TObject marker;
    a.AddObject("one", &marker);
    a.Add("two");
    b.Add("old");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(a));
    EXPECT_EQ(b.Objects(0), &marker);
    b.Assign(&b);
    EXPECT_EQ(b.Count(), 2);
    TObject other;
    TPersistent notStrings;
    EXPECT_THROW(b.Assign(&notStrings), EConvertError);
}

TEST(StringList, StreamsAndFiles) {
    TStringList list;
    list.SetText("alpha\nbeta");
    TMemoryStream stream;
    stream.WriteBuffer("head", 4);
    list.SaveToStream(stream);
    stream.SetPosition(4);
    TStringList loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(loaded.Equals(list));

    const std::string path = (std::filesystem::temp_directory_path() / "quirn_rtl_strings.txt").string();
    list.SaveToFile(path);
    TStringList fromFile;
    fromFile.LoadFromFile(path);
    EXPECT_EQ(fromFile.Text(), "alpha\r\nbeta\r\n");
    std::filesystem::remove(path);
    EXPECT_THROW(fromFile.LoadFromFile(path), EFOpenError);
}
