#include "main_window/browser_link.h"
