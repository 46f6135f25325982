#include "main_window/report_printer.h"
