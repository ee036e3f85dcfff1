// The picture box moved to the shared services, where the inspection windows use it too.
#pragma once
#include "services/PictureBox.h"
