#include "platform/WebPane.h"
