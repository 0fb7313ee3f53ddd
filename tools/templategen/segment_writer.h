// Serializes window descriptions into the bytes of the WindowTemplateSegment.
#pragma once

#include <string>
#include <vector>

#include "window_description.h"

std::string WriteTemplateSegment(const std::vector<WindowDescription> &windows);
