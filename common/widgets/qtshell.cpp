#include "qtshell.h"
