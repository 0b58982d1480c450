#pragma once

#include "cases/CaptionLabel.h"
