#pragma once

class Sundial_Input;

// For tests that drive the program with real key presses and must see what each one did:
// when KESTRAMO_PRINT_RESULTS is set, every result the window shows is printed on the standard
// output as a line "result: ...", and the text of every message box of the program as
// "message: ...", line breaks written " / ".
void PrintResultsWhenAsked(Sundial_Input* window);
