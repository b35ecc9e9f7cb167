#include "framework/core/Streaming.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"
#include "framework/core/TextForm.h"

namespace {

std::unique_ptr<TMemoryStream> Compile(std::string_view text) {
    auto stream = std::make_unique<TMemoryStream>();
    ObjectTextToBinary(text, *stream);
    stream->SetPosition(0);
    return stream;
}

// The start of a hand-made form stream: signature, then the test form's class and name.
void WriteTestFormHeader(TWriter& writer) {
    writer.WriteSignature();
    writer.WriteStr("TTestForm");
    writer.WriteStr("F");
}

std::string ToText(TMemoryStream& stream) {
    stream.SetPosition(0);
    return ObjectBinaryToText(stream);
}

// Reads the text form into a fresh form and returns the message of the
// EReadError it raises (empty when it reads cleanly).
std::string ReadError(std::string_view text) {
    auto stream = Compile(text);
    TTestForm form(nullptr);
    try {
        ReadComponentRes(*stream, &form);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return {};
}

// A form with every kind of property set away from its default.
void Populate(TTestForm& form) {
    form.SetName("Form1");
    form.SetCaption("Main window");
    auto* button = new TTestWidget(&form);
    button->SetName("Button1");
    button->SetCount(-70000);
    button->SetLetter('Z');
    button->SetAlign(taBottom);
    button->SetAnchors({TTestAnchor::akRight});
    button->SetVisible(false);
    button->SetCaption(std::string(300, 'x') + "'quoted'\r\n");
    button->SetHint(L"tip \x4E2D\x6587");
    button->SetBig(int64_t{1} << 40);
    button->SetSmall(200);
    button->SetTag(7);
    button->Font()->SetName("SimSun");
    button->Font()->SetSize(12);
    button->Lines()->SetText("first\n\nthird");
    auto* item = static_cast<TTestItem*>(button->Items()->Add());
    item->SetText("panel one");
    item->SetWidth(120);
    button->Items()->Add();
    button->Blob = {0x01, 0x00, 0xFF, 0x0A};
    button->SetOnChange(TNotifyEvent(&form, &TTestForm::ButtonChange));
    button->OnClick = TTestClickEvent(&form, &TTestForm::ButtonClick);

    auto* panel = new TTestPanel(&form);
    panel->SetName("Panel1");
    auto* child = new TTestChild(&form);
    child->SetName("Child1");
    child->SetParentComponent(panel);
    child->SetBuddy(button);
    auto* child2 = new TTestChild(&form);
    child2->SetName("Child2");
    child2->SetParentComponent(panel);
}

}  // namespace

// Panels list their children when written, as a container control does.
class TStreamedPanel : public TTestPanel {
    QUIRN_CLASS(TStreamedPanel, TTestPanel)
public:
    using TTestPanel::TTestPanel;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {
        TTestPanel::GetChildren(proc, root);
        for (TTestChild* child : Children) proc(child);
    }
};
QUIRN_DEFINE_CLASS(TStreamedPanel)
QUIRN_REGISTER_CLASS(TStreamedPanel)

TEST(Streaming, RoundTripKeepsEveryKindOfProperty) {
    TTestForm original(nullptr);
    Populate(original);
    TMemoryStream stream;
    WriteComponent(stream, &original);

    stream.SetPosition(0);
    TTestForm copy(nullptr);
    ReadComponentRes(stream, &copy);
    EXPECT_EQ(stream.Position(), stream.Size());

    EXPECT_EQ(copy.Name(), "Form1");
    EXPECT_EQ(copy.Caption(), "Main window");
    ASSERT_NE(copy.Button1, nullptr);  // the published field is bound
    const TTestWidget& b = *copy.Button1;
    EXPECT_EQ(b.Count(), -70000);
    EXPECT_EQ(b.Letter(), 'Z');
    EXPECT_EQ(b.Align(), taBottom);
    EXPECT_EQ(b.Anchors(), TTestAnchors{TTestAnchor::akRight});
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(b.Caption(), std::string(300, 'x') + "'quoted'\r\n");
    EXPECT_EQ(b.Hint(), L"tip \x4E2D\x6587");
    EXPECT_EQ(b.Big(), int64_t{1} << 40);
    EXPECT_EQ(b.Small(), 200);
    EXPECT_EQ(b.Tag(), 7);
    EXPECT_EQ(b.Font()->Name(), "SimSun");
    EXPECT_EQ(b.Font()->Size(), 12);
    EXPECT_EQ(b.Lines()->Text(), "first\r\n\r\nthird\r\n");
    ASSERT_EQ(b.Items()->Count(), 2);
    EXPECT_EQ(b.Items()->ItemAs<TTestItem>(0)->Text(), "panel one");
    EXPECT_EQ(b.Items()->ItemAs<TTestItem>(0)->Width(), 120);
    EXPECT_EQ(b.Items()->ItemAs<TTestItem>(1)->Width(), 50);
    EXPECT_EQ(b.Blob, (std::vector<uint8_t>{0x01, 0x00, 0xFF, 0x0A}));
    // Events are bound to the new form's published methods.
    EXPECT_EQ(b.OnChange(), TNotifyEvent(&copy, &TTestForm::ButtonChange));
    b.OnClick(nullptr, 3);
    EXPECT_EQ(copy.Log, "click:3;");
    EXPECT_EQ(original.Log, "");
}

TEST(Streaming, ChildrenAreAttachedToTheirParentAndOwnedByTheRoot) {
    TTestForm original(nullptr);
    original.SetName("Form1");
    auto* panel = new TStreamedPanel(&original);
    panel->SetName("Panel1");
    for (const char* name : {"ChildA", "ChildB"}) {
        auto* child = new TTestChild(&original);
        child->SetName(name);
        child->SetParentComponent(panel);
    }
    // Children with a parent are written inside it, not at the root.
    TMemoryStream stream;
    WriteComponent(stream, &original);
    const std::string text = ToText(stream);
    EXPECT_NE(text.find("  object Panel1: TStreamedPanel\n    object ChildA: TTestChild"), std::string::npos) << text;

    stream.SetPosition(0);
    TTestForm copy(nullptr);
    ReadComponentRes(stream, &copy);
    ASSERT_NE(copy.Panel1, nullptr);
    ASSERT_EQ(copy.Panel1->Children.size(), 2u);
    EXPECT_EQ(copy.Panel1->Children[0]->Name(), "ChildA");
    EXPECT_EQ(copy.Panel1->Children[1]->Name(), "ChildB");
    EXPECT_EQ(copy.Panel1->Children[0]->Owner(), &copy);
    EXPECT_EQ(copy.ComponentCount(), 3);
}

TEST(Streaming, ComponentReferencesResolveAfterTheWholeFormIsRead) {
    // Child1 refers to Button1, which comes later in the stream.
    auto stream = Compile(R"(
object Form1: TTestForm
  object Child1: TTestWidget
    Buddy = Button1
  end
  object Button1: TTestWidget
  end
end)");
    TTestForm form(nullptr);
    ReadComponentRes(*stream, &form);
    auto* child = static_cast<TTestWidget*>(form.FindComponent("Child1"));
    EXPECT_EQ(child->Buddy(), form.Button1);
}

TEST(Streaming, LoadedRunsOnceOnEveryComponentAfterTheWholeRead) {
    auto stream = Compile(R"(
object Form1: TTestForm
  Count = 1
  object A: TTestWidget
  end
  object B: TTestWidget
  end
end)");
    TTestForm form(nullptr);
    ReadComponentRes(*stream, &form);
    EXPECT_EQ(form.LoadedCalls, 1);
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* widget = static_cast<TTestWidget*>(form.Components(i));
        EXPECT_EQ(widget->LoadedCalls, 1);
        EXPECT_TRUE(widget->LoadingSeenInLoaded);
        EXPECT_FALSE(widget->ComponentState().Contains(csLoading));
        EXPECT_FALSE(widget->ComponentState().Contains(csReading));
    }
    EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST(Streaming, DefaultValuesAreLeftOut) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* widget = new TTestWidget(&form);
    widget->SetName("W");
    TMemoryStream stream;
    WriteComponent(stream, &form);
    EXPECT_EQ(ToText(stream), "object Form1: TTestForm\n  object W: TTestWidget\n  end\nend\n");
}

TEST(Streaming, BinaryPropertyIsTypeByteCountAndBytes) {
    TTestForm form(nullptr);
    form.SetName("F");
    form.Blob = {0xDE, 0xAD};
    TMemoryStream stream;
    WriteComponent(stream, &form);
    const std::string bytes(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    const std::string expected = std::string("\x04") + "Blob" + std::string("\x0A\x02\x00\x00\x00\xDE\xAD", 7);
    EXPECT_NE(bytes.find(expected), std::string::npos);
}

TEST(Streaming, ReadComponentCreatesTheRootFromItsClassName) {
    auto stream = Compile("object Form7: TTestForm\n  Caption = 'made'\nend");
    std::unique_ptr<TComponent> root(ReadComponent(*stream));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ClassName(), "TTestForm");
    EXPECT_EQ(root->Name(), "Form7");
    EXPECT_EQ(static_cast<TTestForm*>(root.get())->Caption(), "made");
}

TEST(Streaming, ExistingComponentsOfTheSameNameAreFilledIn) {
    TTestForm form(nullptr);
    auto* existing = new TTestWidget(&form);
    existing->SetName("Button1");
    auto stream = Compile("object Form1: TTestForm\n  object Button1: TTestWidget\n    Count = 5\n  end\nend");
    ReadComponentRes(*stream, &form);
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(existing->Count(), 5);
}

TEST(Streaming, RootNameClashGetsASuffix) {
    TComponent owner(nullptr);
    auto* first = new TTestForm(&owner);
    first->SetName("Form1");
    auto* second = new TTestForm(&owner);
    auto stream = Compile("object Form1: TTestForm\nend");
    ReadComponentRes(*stream, second);
    EXPECT_EQ(second->Name(), "Form1_1");
}

TEST(MalformedForms, ErrorsNameTheOffendingItem) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  object W1: TNoSuchClass\n  end\nend", "class TNoSuchClass not found"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Bogus = 1\n  end\nend",
         "Error reading W1.Bogus: Property Bogus does not exist"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Font.Colour = 1\n  end\nend",
         "Error reading W1.Font.Colour: Property Colour does not exist"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Count.Inner = 1\n  end\nend",
         "Error reading W1.Count.Inner: Property Count is not an object"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Count = 'ten'\n  end\nend",
         "Error reading W1.Count: Invalid value type $06"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Count = 3000000000\n  end\nend",
         "Error reading W1.Count:"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Align = alSideways\n  end\nend",
         "Error reading W1.Align: Invalid property value alSideways"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Anchors = [akLeft, akUp]\n  end\nend",
         "Error reading W1.Anchors: Invalid set element akUp"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Visible = 'yes'\n  end\nend", "Error reading W1.Visible"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Caption = 12\n  end\nend", "Error reading W1.Caption"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    OnChange = NoSuchHandler\n  end\nend",
         "Error reading W1.OnChange: Method NoSuchHandler is not published by TTestForm"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    OnChange = ButtonClick\n  end\nend",
         "Error reading W1.OnChange"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Buddy = Nobody\n  end\nend",
         "Error reading W1.Buddy: No component named Nobody"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Font = 3\n  end\nend", "Error reading W1.Font"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Items = <\n      item\n        Height = 2\n      end>\n  "
         "end\nend",
         "Error reading W1.Items: Property Height of TTestItem does not exist"},
        {"object F: TTestForm\n  object W1: TTestWidget\n    Lines.Strings = (\n      1)\n  end\nend",
         "Error reading W1.Lines.Strings"},
        {"object F: TTestForm\n  object W1: TTestWidget\n  end\n  object W1: TTestWidget\n  end\nend",
         "Error reading TTestWidget W1: A component named W1 already exists"},
        {"object F: TTestForm\n  object 1x: TTestWidget\n  end\nend", ""},  // a parse error, checked below
        {"object F: TTestFont\nend", "The stream holds a TTestFont, not a TTestForm"},
        {"object F: TTestForm\n  object W1: TTestFont\n  end\nend", "class TTestFont is not a component class"},
    };
    for (const Case& c : cases) {
        if (*c.message == '\0') continue;
        const std::string message = ReadError(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << message;
    }
}

TEST(MalformedForms, EveryTruncationIsAReadErrorAndLeavesTheFormUsable) {
    TTestForm original(nullptr);
    Populate(original);
    TMemoryStream full;
    WriteComponent(full, &original);
    for (int64_t length = 0; length < full.Size(); ++length) {
        TReadOnlyMemoryStream cut(full.Memory(), length);
        TTestForm form(nullptr);
        EXPECT_THROW(ReadComponentRes(cut, &form), EReadError) << "length " << length;
        EXPECT_LE(cut.Position(), length);
        for (int i = 0; i < form.ComponentCount(); ++i) {
            EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading));
        }
    }
}

TEST(MalformedForms, SignatureAndValueTypesAreChecked) {
    TMemoryStream bad;
    bad.WriteBuffer("TPF0\x05TForm\x00\x00\x00", 10);
    bad.SetPosition(0);
    TTestForm form(nullptr);
    try {
        ReadComponentRes(bad, &form);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("signature"), std::string::npos);
    }

    // A property value with an undefined type byte.
    TMemoryStream stream;
    TWriter writer(stream);
    WriteTestFormHeader(writer);
    writer.WriteStr("Count");
    const uint8_t undefined = 0x42;
    stream.WriteBuffer(&undefined, 1);
    stream.SetPosition(0);
    try {
        ReadComponentRes(stream, &form);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("F.Count"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("$42"), std::string::npos) << e.Message();
    }
}

TEST(MalformedForms, AbsurdCountsAreRejectedBeforeAllocating) {
    for (uint8_t type : {uint8_t{0x0A}, uint8_t{0x0C}, uint8_t{0x12}}) {
        TMemoryStream stream;
        TWriter writer(stream);
        WriteTestFormHeader(writer);
        writer.WriteStr(type == 0x0A ? "Blob" : "Caption");
        const uint8_t bytes[] = {type, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'};
        stream.WriteBuffer(bytes, sizeof bytes);
        stream.SetPosition(0);
        TTestForm form(nullptr);
        try {
            ReadComponentRes(stream, &form);
            FAIL();
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find("exceeds"), std::string::npos) << e.Message();
        }
    }
    // Negative counts too.
    TMemoryStream stream;
    TWriter writer(stream);
    WriteTestFormHeader(writer);
    writer.WriteStr("Blob");
    const uint8_t bytes[] = {0x0A, 0xFE, 0xFF, 0xFF, 0xFF};
    stream.WriteBuffer(bytes, sizeof bytes);
    stream.SetPosition(0);
    TTestForm form(nullptr);
    EXPECT_THROW(ReadComponentRes(stream, &form), EReadError);
}

TEST(MalformedForms, DeepNestingIsRefused) {
    TMemoryStream stream;
    TWriter writer(stream);
    WriteTestFormHeader(writer);
    writer.WriteStr("");
    for (int i = 0; i < 100; ++i) {
        writer.WriteStr("TTestWidget");
        writer.WriteStr(std::to_string(i).insert(0, 1, 'W'));
        writer.WriteStr("");
    }
    for (int i = 0; i < 101; ++i) writer.WriteValue(TValueType::vaNull);
    stream.SetPosition(0);
    TTestForm form(nullptr);
    try {
        ReadComponentRes(stream, &form);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("nested too deeply"), std::string::npos) << e.Message();
    }
}

namespace {

// A component that keeps a package the way the skin data component does: a
// 32-bit length S, then S bytes, wrapped by the filer as one binary value.
class TPackageHolder : public TComponent {
    QUIRN_CLASS(TPackageHolder, TComponent)
public:
    using TComponent::TComponent;
    TMemoryStream Package;
    void DefineProperties(TFiler& filer) override {
        TComponent::DefineProperties(filer);
        filer.DefineBinaryProperty(
            "SkinStream", [this](TStream& s) { ReadPackage(s); }, [this](TStream& s) { WritePackage(s); }, true);
    }

private:
    void ReadPackage(TStream& stream) {
        int32_t size = 0;
        stream.ReadBuffer(&size, sizeof size);
        if (size <= 0) return;
        Package.SetSize(size);
        stream.ReadBuffer(Package.Memory(), size);
    }
    void WritePackage(TStream& stream) {
        const auto size = static_cast<int32_t>(Package.Size());
        stream.WriteBuffer(&size, sizeof size);
        if (size > 0) stream.WriteBuffer(Package.Memory(), size);
    }
};

}  // namespace

QUIRN_DEFINE_CLASS(TPackageHolder)
QUIRN_REGISTER_CLASS(TPackageHolder)

TEST(Streaming, LengthPrefixedPackageTravelsAsOneBinaryValue) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* holder = new TPackageHolder(&form);
    holder->SetName("SkinData1");
    holder->Package.WriteBuffer("PKG!", 4);
    TMemoryStream stream;
    WriteComponent(stream, &form);
    EXPECT_NE(ToText(stream).find("SkinStream = {\n      04000000504B4721}"), std::string::npos) << ToText(stream);

    stream.SetPosition(0);
    TTestForm copy(nullptr);
    ReadComponentRes(stream, &copy);
    auto* read = static_cast<TPackageHolder*>(copy.FindComponent("SkinData1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read->Package.Memory()), 4), "PKG!");

    // A length that lies about the block cannot read past the binary value.
    const std::string message = ReadError(
        "object Form1: TTestForm\n  object SkinData1: TPackageHolder\n    SkinStream = {\n      1000000050}\n  end\n"
        "  object After: TTestWidget\n  end\nend");
    EXPECT_NE(message.find("Error reading SkinData1.SkinStream: Stream read error"), std::string::npos) << message;
    // An empty package (S = 0) is fine.
    EXPECT_EQ(
        ReadError(
            "object Form1: TTestForm\n  object SkinData1: TPackageHolder\n    SkinStream = {00000000}\n  end\nend"),
        "");
}

namespace {

// Frees the component named in its Caption when it is loaded.
class TLoadedKiller : public TTestWidget {
    QUIRN_CLASS(TLoadedKiller, TTestWidget)
public:
    using TTestWidget::TTestWidget;
    void Loaded() override {
        TTestWidget::Loaded();
        delete Owner()->FindComponent(Caption());
    }
};

}  // namespace

QUIRN_DEFINE_CLASS(TLoadedKiller)
QUIRN_REGISTER_CLASS(TLoadedKiller)

TEST(Streaming, AComponentFreedByAnotherOnesLoadedIsNotCalled) {
    auto stream = Compile(R"(
object Form1: TTestForm
  object Killer: TLoadedKiller
    Caption = 'Victim'
  end
  object Victim: TTestWidget
  end
  object Survivor: TTestWidget
  end
end)");
    TTestForm form(nullptr);
    ReadComponentRes(*stream, &form);  // would call Loaded on freed memory otherwise
    EXPECT_EQ(form.FindComponent("Victim"), nullptr);
    EXPECT_EQ(static_cast<TTestWidget*>(form.FindComponent("Survivor"))->LoadedCalls, 1);
}
