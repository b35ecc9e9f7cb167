// The framework's headers after <windows.h>: none of their names may be
// renamed by a Windows macro (RegisterClass, GetObject, FormatMessage, ...),
// or declarations here would not match the library's definitions.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/rtl/Strings.h"

namespace {

class TMacroProbe : public TComponent {
    QUIRN_CLASS(TMacroProbe, TComponent)
public:
    using TComponent::TComponent;
    const std::string& Text() const { return FText; }
    void SetText(std::string_view value) { FText = std::string(value); }

private:
    std::string FText;
};

}  // namespace

QUIRN_PUBLISH(TMacroProbe, p) { p.Property("Text", &TMacroProbe::Text, &TMacroProbe::SetText); }

TEST(WindowsMacros, FrameworkNamesSurviveWindowsHeaders) {
    EXPECT_EQ(GetClass("TMacroProbe"), &TMacroProbe::StaticClass());
    EXPECT_TRUE(RegisterClassType(TMacroProbe::StaticClass()));
    TStringList list;
    TObject marker;
    list.AddObject("x", &marker);
    EXPECT_EQ(list.Objects(0), &marker);
    EXPECT_EQ(FormatString("%s!", {"ok"}), "ok!");

    TMemoryStream stream;
    ObjectTextToBinary("object P: TMacroProbe\n  Text = 'probe'\nend", stream);
    stream.SetPosition(0);
    std::unique_ptr<TComponent> probe(ReadComponent(stream));
    EXPECT_EQ(static_cast<TMacroProbe*>(probe.get())->Text(), "probe");
}
