#include "main_window/report.h"
