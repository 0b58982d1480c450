#pragma once

#include "widgets/CaptionLabel.h"
