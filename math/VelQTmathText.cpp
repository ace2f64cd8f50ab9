#include "math/VelQTmathText.h"
