#pragma once
// The settings file's keys, each spelled here once (all in the section
// "Settings"): the reader (settings_win.cpp), the settings dialog and the log
// take their names from here.
namespace quill::keys {

inline constexpr char16_t kLogging[] = u"Logging";
inline constexpr char16_t kSavePosition[] = u"SavePosition";
inline constexpr char16_t kLeft[] = u"Left";
inline constexpr char16_t kTop[] = u"Top";
inline constexpr char16_t kKeepStringLiterals[] = u"KeepStringLiterals";
inline constexpr char16_t kTabStops[] = u"TabStops";

// The switches the settings dialog shows, in its order: Booleans, off when the
// key is missing or no number.
inline constexpr const char16_t* kSwitches[] = {kKeepStringLiterals, kTabStops, kLogging};

}  // namespace quill::keys
