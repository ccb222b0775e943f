#include "sim/Actuator.h"
