// Core code of the platform layer that uses a subsystem.
#include "instrument/serial_port.h"
