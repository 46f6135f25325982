#pragma once

// Who the program is and where its maker is found: the one place for the names that the window,
// the report, the browser program and the command line show. Plain C++, so every layer may use
// it.
namespace product {

inline constexpr char kName[] = "Kestramo";
inline constexpr char kMaker[] = "Brontile LLC";
inline constexpr char kMakerAddress[] = "www.brontile.com";  // as the window and report show it
inline constexpr char kMakerSite[] = "https://www.brontile.com/";  // the maker's home page
inline constexpr char kTimeService[] = "https://time.gov/";    // a public atomic-clock time service
inline constexpr char kDesktopId[] = "com.brontile.Kestramo";  // desktop entry and AppStream id

}  // namespace product
