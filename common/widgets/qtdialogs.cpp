#include "qtdialogs.h"
