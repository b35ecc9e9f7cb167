// TextForm: the text form format — a readable, diff-friendly spelling of the
// binary form format — and conversion both ways (tools/formc uses them).
//
//     object Form1: TForm1            // "object Name: Class ... end" nests
//       Caption = 'Quirn '#13#10'v1'  // strings: 'quoted' (UTF-8) and #code parts
//       Left = 120                    // integers, also $hex and negative
//       Font.Name = 'SimSun'          // paths into nested objects
//       Visible = False               // identifiers: enumeration values, True, False, nil,
//       OnClick = Button1Click        //   event handlers, component references
//       Options = [xoPreview, xoToolbarBK]          // sets
//       Lines.Strings = (             // lists
//         'first'
//         'second')
//       Panels = <                    // collections
//         item
//           Width = 50
//         end>
//       SkinStream = {                // binary data in hexadecimal
//         0400000041424344}
//       object Button1: TButton
//       end
//     end
//
// A string is stored as ANSI bytes when it holds only ASCII characters and
// #codes up to 255 (each such code is one byte); a quoted non-ASCII character
// or a larger code makes it a wide (UTF-16) string, which the reader converts
// to the running system's ANSI code page for string properties.
#pragma once

#include <string>
#include <string_view>

#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"

// Syntax error in a text form; the message starts with "Line N: ".
class EParserError : public EConvertError {
    using EConvertError::EConvertError;
};

// Text form -> binary form (appended to output at its position).
void ObjectTextToBinary(std::string_view text, TStream& output);
// Binary form (from input's position) -> text form. EReadError for malformed data.
std::string ObjectBinaryToText(TStream& input);
