#pragma once

// How the calculator and its web page window, the program kestramo-browser, talk.
//
// To the browser, on its standard input: one address a line, URL-encoded. Each brings the
// window to the front and opens the address. The end of the input ends the program, as does
// closing its window.
//
// From the browser, on its standard output, one status line for each event: the word below, a
// blank and the event's details.
namespace browser_protocol {

// "shown <caption> <control> <left>,<top> <width>x<height> window <width>x<height>": the window
// was first shown; the browser control's place and the window's size.
inline constexpr char kShown[] = "shown";
// "opening <address>": an address was taken in; the window comes to the front and loads it. An
// address that is never answered so reached a browser that was already ending.
inline constexpr char kOpening[] = "opening";
// "loaded <address> ok|failed": a page finished loading (a failed page shows the engine's own
// error page).
inline constexpr char kLoaded[] = "loaded";

// The name of the browser program.
inline constexpr char kProgramName[] = "kestramo-browser";

}  // namespace browser_protocol
