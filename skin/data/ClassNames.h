// The class names the engine tells windows and controls apart by: the system's window classes, the
// framework's own classes, and those of other vendors' components it skins, leaves alone or treats
// specially. One table for the skin data, the skin manager, the form skinners and the control mapping;
// each entry says how it is compared where the case of a name does not matter.
#pragma once

#include <array>
#include <string_view>

// --- System window classes ---
constexpr std::string_view DialogClassName = "#32770";
constexpr std::string_view PopupMenuClassName = "#32768";
constexpr std::string_view MDIClientClassName = "MDIClient";  // any case
constexpr std::string_view ScrollBarClassName = "ScrollBar";
constexpr std::string_view ButtonWindowClass = "button";     // lower case, against the lower-cased name
constexpr std::string_view UpDownClass = "msctls_updown32";  // lower case, against the lower-cased name
constexpr std::string_view MonthCalendarClass = "SysMonthCal32";

// --- Framework classes ---
constexpr std::string_view ApplicationClass = "TApplication";
constexpr std::string_view MessageFormClass = "TMessageForm";  // any case
constexpr std::string_view FrameworkButtonClass = "TButton";   // any case
constexpr std::string_view CustomPanelClass = "TCustomPanel";
constexpr std::string_view MemoClass = "TMemo";

// --- Other vendors' classes ---
// Never given a form skinner (a part of the class name).
constexpr std::string_view PopupEditClassPart = "TcxPopupEditPopupWindow";
constexpr std::string_view RenderWindowClassPart = "TTERenderWindow";
// Never given a form skinner (the whole name, any case).
constexpr std::string_view DBTreeViewPopupClass = "TPopupDBTreeView";
// Windows with this in their lower-cased class name are previews, skinned only when the skin asks.
constexpr std::string_view PreviewClassPart = "preview";
// A form whose popup menus are never skinned.
constexpr std::string_view RichEditFormClass = "TwwRichEditForm";
// Controls never skinned, whatever the mapping tables say (upper case).
constexpr std::array<std::string_view, 3> NeverSkinnedClasses{"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"};
// Groups whose buttons follow the group's Tag (parts of the lower-cased class name).
constexpr std::array<std::string_view, 2> ButtonGroupParts{"radiogroup", "checkgroup"};
// A vendor's group whose buttons get glyph images (part of the upper-cased class name).
constexpr std::string_view GlyphGroupPart = "TRZ";
// Vendors' buttons that handle the mouse-down themselves (prefixes of the lower-cased class name).
constexpr std::array<std::string_view, 2> OwnMouseDownPrefixes{"trz", "tel"};
// Spin buttons (parts of the lower-cased class name).
constexpr std::array<std::string_view, 2> SpinClassParts{"spin", "updown"};
// A scroll box that draws its own border.
constexpr std::string_view OwnBorderClass = "TImageScrollBox";
// Report designers' classes, left alone when the skin asks (prefix of the class name).
constexpr std::string_view FastReportPrefix = "Tfr";
