#include "main_window/Sundial_Input.h"

void Sundial_Input::lblbrowser_Click() {}
void Sundial_Input::lblBrontile_Click() {}
void Sundial_Input::closeBrowser() {}
