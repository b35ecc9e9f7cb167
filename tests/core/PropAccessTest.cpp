#include "framework/core/PropAccess.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"

namespace {

class PropAccessTest : public ::testing::Test {
protected:
    TTestForm form{nullptr};
    TTestWidget* widget = new TTestWidget(&form);
};

const TPropInfo& Prop(const TObject* object, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (prop == nullptr) throw std::runtime_error("missing property " + std::string(name));
    return *prop;
}

}  // namespace

TEST_F(PropAccessTest, EveryKindIsReportedWithItsTypeName) {
    struct Expect {
        const char* name;
        TTypeKind kind;
        const char* typeName;
    };
    for (const Expect& e :
         {Expect{"Count", tkInteger, "Integer"}, Expect{"Letter", tkChar, "Char"},
          Expect{"Align", tkEnumeration, "TTestAlign"}, Expect{"Anchors", tkSet, "set of TTestAnchor"},
          Expect{"Visible", tkEnumeration, "Boolean"}, Expect{"Caption", tkString, "String"},
          Expect{"Hint", tkWString, "WideString"}, Expect{"Big", tkInt64, "Int64"}, Expect{"Small", tkInteger, "Byte"},
          Expect{"Font", tkClass, "TTestFont"}, Expect{"Buddy", tkClass, "TTestWidget"},
          Expect{"OnChange", tkMethod, "TNotifyEvent"}, Expect{"OnClick", tkMethod, "TTestClickEvent"},
          Expect{"Tag", tkInteger, "Integer"}}) {
        const TPropInfo& prop = Prop(widget, e.name);
        EXPECT_EQ(prop.Kind(), e.kind) << e.name;
        EXPECT_EQ(prop.PropType().Name, e.typeName) << e.name;
        EXPECT_EQ(PropKind(widget, e.name), e.kind);
    }
    EXPECT_EQ(Prop(widget, "Align").PropType().EnumNames,
              (std::vector<std::string>{"taNone", "taTop", "taBottom", "taClient"}));
    // Scoped enumerators lose their qualifier.
    EXPECT_EQ(Prop(widget, "Anchors").PropType().CompType->EnumName(2), "akRight");
}

TEST_F(PropAccessTest, MissingPropertiesAreAnswersNotErrors) {
    EXPECT_EQ(GetPropInfo(widget, "NoSuchThing"), nullptr);
    EXPECT_FALSE(IsPublishedProp(widget, "NoSuchThing"));
    EXPECT_EQ(PropKind(widget, "NoSuchThing"), tkUnknown);
    EXPECT_FALSE(GetPropValue(widget, "NoSuchThing").has_value());
    EXPECT_FALSE(GetPropAsText(widget, "NoSuchThing").has_value());
    EXPECT_FALSE(SetPropValue(widget, "NoSuchThing", int64_t{1}));
    EXPECT_FALSE(SetPropAsText(widget, "NoSuchThing", "1"));
    // A nil object has no properties either.
    EXPECT_EQ(GetPropInfo(static_cast<TObject*>(nullptr), "Count"), nullptr);
    EXPECT_FALSE(GetPropAsText(nullptr, "Count").has_value());
    EXPECT_FALSE(SetPropAsText(nullptr, "Count", "1"));
    // Names ignore letter case, as in stored forms.
    EXPECT_NE(GetPropInfo(widget, "caption"), nullptr);
}

TEST_F(PropAccessTest, OrdinalsGetAndSetAsValuesAndText) {
    ASSERT_TRUE(SetPropValue(widget, "Count", int64_t{42}));
    EXPECT_EQ(widget->Count(), 42);
    EXPECT_EQ(std::get<int64_t>(*GetPropValue(widget, "Count")), 42);
    ASSERT_TRUE(SetPropAsText(widget, "Count", "$10"));
    EXPECT_EQ(widget->Count(), 16);
    EXPECT_EQ(*GetPropAsText(widget, "Count"), "16");

    SetPropAsText(widget, "Letter", "Q");
    EXPECT_EQ(widget->Letter(), 'Q');
    EXPECT_EQ(*GetPropAsText(widget, "Letter"), "Q");

    SetPropAsText(widget, "Align", "TACLIENT");
    EXPECT_EQ(widget->Align(), taClient);
    EXPECT_EQ(*GetPropAsText(widget, "Align"), "taClient");
    EXPECT_EQ(GetEnumProp(widget, Prop(widget, "Align")), "taClient");

    SetPropAsText(widget, "Visible", "false");
    EXPECT_FALSE(widget->Visible());
    EXPECT_EQ(*GetPropAsText(widget, "Visible"), "False");
    SetPropValue(widget, "Visible", int64_t{1});
    EXPECT_TRUE(widget->Visible());

    SetPropAsText(widget, "Anchors", "[akRight, akBottom]");
    EXPECT_EQ(widget->Anchors(), (TTestAnchors{TTestAnchor::akRight, TTestAnchor::akBottom}));
    EXPECT_EQ(*GetPropAsText(widget, "Anchors"), "akRight,akBottom");
    EXPECT_EQ(GetSetProp(widget, Prop(widget, "Anchors"), true), "[akRight,akBottom]");
    SetPropAsText(widget, "Anchors", "");
    EXPECT_TRUE(widget->Anchors().Empty());

    SetPropAsText(widget, "Big", "-9000000000");
    EXPECT_EQ(widget->Big(), -9000000000);
    SetPropAsText(widget, "Small", "255");
    EXPECT_EQ(widget->Small(), 255);
    SetPropAsText(widget, "Mask", "4294967295");
    EXPECT_EQ(widget->Mask(), 0xFFFFFFFFu);
    EXPECT_EQ(*GetPropAsText(widget, "Mask"), "4294967295");
    EXPECT_THROW(SetPropAsText(widget, "Mask", "-1"), EPropertyError);
}

TEST_F(PropAccessTest, NonNumericTextOnAnIntegerIsAConvertError) {
    widget->SetCount(5);
    EXPECT_THROW(SetPropAsText(widget, "Count", "abc"), EConvertError);
    EXPECT_THROW(SetPropAsText(widget, "Count", ""), EConvertError);
    EXPECT_THROW(SetPropAsText(widget, "Count", "99999999999"), EConvertError);
    EXPECT_THROW(SetPropAsText(widget, "Letter", "ab"), EConvertError);
    EXPECT_EQ(widget->Count(), 5);
}

TEST_F(PropAccessTest, OutOfRangeAndUnknownNamesAreRejected) {
    EXPECT_THROW(SetPropValue(widget, "Align", int64_t{4}), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Align", int64_t{-1}), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Small", int64_t{256}), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Count", int64_t{1} << 40), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Anchors", int64_t{1} << 4), EPropertyError);
    EXPECT_THROW(SetPropAsText(widget, "Align", "alWrong"), EPropertyError);
    EXPECT_THROW(SetPropAsText(widget, "Anchors", "[akLeft, akNowhere]"), EPropertyError);
    EXPECT_THROW(SetPropAsText(widget, "Anchors", "[akLeft,,akTop]"), EPropertyError);
    EXPECT_THROW(SetPropAsText(widget, "Visible", "maybe"), EPropertyError);
    EXPECT_EQ(widget->Align(), taNone);
}

TEST_F(PropAccessTest, WrongKindsAreRejected) {
    EXPECT_THROW(GetOrdProp(widget, Prop(widget, "Caption")), EPropertyError);
    EXPECT_THROW(GetStrProp(widget, Prop(widget, "Count")), EPropertyError);
    EXPECT_THROW(GetObjectProp(widget, Prop(widget, "Count")), EPropertyError);
    EXPECT_THROW(GetMethodProp(widget, Prop(widget, "Caption")), EPropertyError);
    EXPECT_THROW(GetEnumProp(widget, Prop(widget, "Count")), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Count", std::string("1")), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Caption", int64_t{1}), EPropertyError);
    EXPECT_THROW(SetPropValue(widget, "Font", int64_t{1}), EPropertyError);
    // An object of the wrong class for a class property.
    TTestFont font;
    EXPECT_THROW(SetPropValue(widget, "Buddy", static_cast<TObject*>(&font)), EPropertyError);
    // A method of another signature for an event.
    TTestForm& f = form;
    EXPECT_THROW(SetPropValue(widget, "OnChange", MethodAddress(&f, "ButtonClick")), EPropertyError);
    // Read-only properties read but do not write.
    widget->SetCount(4);
    EXPECT_EQ(*GetPropAsText(widget, "Computed"), "8");
    EXPECT_FALSE(Prop(widget, "Computed").IsWritable());
    EXPECT_THROW(SetPropAsText(widget, "Computed", "1"), EPropertyError);
}

TEST_F(PropAccessTest, StringsAndWideStringsConvertBetweenEachOther) {
    SetPropAsText(widget, "Caption", "Hello");
    EXPECT_EQ(widget->Caption(), "Hello");
    SetPropValue(widget, "Caption", std::wstring(L"wide"));
    EXPECT_EQ(widget->Caption(), "wide");
    SetPropAsText(widget, "Hint", "tip");
    EXPECT_EQ(widget->Hint(), L"tip");
    EXPECT_EQ(GetStrProp(widget, Prop(widget, "Hint")), "tip");
    EXPECT_EQ(GetWideStrProp(widget, Prop(widget, "Caption")), L"wide");
}

TEST_F(PropAccessTest, ClassPropertiesHoldObjectsAndComponentReferencesByName) {
    auto* font = std::get<TObject*>(*GetPropValue(widget, "Font"));
    ASSERT_EQ(font, widget->Font());
    SetPropAsText(font, "Name", "SimSun");
    EXPECT_EQ(widget->Font()->Name(), "SimSun");
    EXPECT_EQ(*GetPropAsText(widget, "Font"), "(TTestFont)");

    auto* other = new TTestWidget(&form);
    other->SetName("Other");
    ASSERT_TRUE(SetPropAsText(widget, "Buddy", "other"));
    EXPECT_EQ(widget->Buddy(), other);
    EXPECT_EQ(*GetPropAsText(widget, "Buddy"), "Other");
    EXPECT_THROW(SetPropAsText(widget, "Buddy", "Nobody"), EPropertyError);
    SetPropAsText(widget, "Buddy", "");
    EXPECT_EQ(widget->Buddy(), nullptr);
}

TEST_F(PropAccessTest, EventsResolveByNameOnTheOwnerAndCompareByIdentity) {
    widget->SetName("Button1");
    ASSERT_TRUE(SetPropAsText(widget, "OnChange", "ButtonChange"));
    EXPECT_EQ(widget->OnChange(), TNotifyEvent(&form, &TTestForm::ButtonChange));
    EXPECT_NE(widget->OnChange(), TNotifyEvent(&form, &TTestForm::Unpublished));
    widget->OnChange()(widget);
    EXPECT_EQ(form.Log, "change:Button1;");
    EXPECT_EQ(*GetPropAsText(widget, "OnChange"), "ButtonChange");

    ASSERT_TRUE(SetPropAsText(widget, "OnClick", "buttonclick"));
    widget->OnClick(widget, 2);
    EXPECT_EQ(form.Log, "change:Button1;click:2;");
    EXPECT_EQ(*GetPropAsText(widget, "OnClick"), "ButtonClick");

    // A handler that is not published has no name.
    widget->SetOnChange(TNotifyEvent(&form, &TTestForm::Unpublished));
    EXPECT_EQ(*GetPropAsText(widget, "OnChange"), "");
    EXPECT_THROW(SetPropAsText(widget, "OnChange", "NoHandler"), EPropertyError);
    // Mismatched signature by name.
    EXPECT_THROW(SetPropAsText(widget, "OnChange", "ButtonClick"), EPropertyError);
    SetPropAsText(widget, "OnChange", "");
    EXPECT_FALSE(widget->OnChange());
}

TEST_F(PropAccessTest, PropertyListPutsAncestorsFirst) {
    const auto list = GetPropList(TTestForm::StaticClass());
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[0]->Name(), "Name");
    EXPECT_EQ(list[1]->Name(), "Tag");
    EXPECT_EQ(list[2]->Name(), "Count");
    EXPECT_EQ(list.size(), GetPropList(TTestWidget::StaticClass()).size());
}

TEST_F(PropAccessTest, DefaultsDecideWhatIsStored) {
    const TPropInfo& visible = Prop(widget, "Visible");
    EXPECT_TRUE(IsDefaultPropValue(widget, visible));
    widget->SetVisible(false);
    EXPECT_FALSE(IsDefaultPropValue(widget, visible));
    EXPECT_TRUE(IsDefaultPropValue(widget, Prop(widget, "Anchors")));
    EXPECT_TRUE(IsDefaultPropValue(widget, Prop(widget, "Caption")));
    widget->SetCaption("x");
    EXPECT_FALSE(IsDefaultPropValue(widget, Prop(widget, "Caption")));
    EXPECT_FALSE(Prop(widget, "Name").IsStored(widget));
    EXPECT_TRUE(Prop(widget, "Caption").IsStored(widget));
}

TEST(PublishedMethods, LookUpByNameAndBackFromTheMethod) {
    TTestForm form(nullptr);
    const TMethod click = MethodAddress(&form, "ButtonClick");
    ASSERT_TRUE(click.Assigned());
    EXPECT_EQ(MethodName(&form, click), "ButtonClick");
    EXPECT_FALSE(MethodAddress(&form, "Missing").Assigned());
    EXPECT_EQ(MethodName(&form, TMethod{}), "");
    TTestForm otherForm(nullptr);
    EXPECT_EQ(MethodName(&otherForm, click), "");  // bound to another object
    EXPECT_NE(FindPublishedMethod(TTestForm::StaticClass(), "buttonchange"), nullptr);
    EXPECT_EQ(FindPublishedMethod(TTestWidget::StaticClass(), "ButtonChange"), nullptr);
}
