#include "main_window/Sundial_Input.h"

void Sundial_Input::cmdPrint_Click() {}
