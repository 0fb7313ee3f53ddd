// Operation 9's text rewrite, shared by the unit types: a text field, and the face name inside a
// 60-byte font record, handed to the engine's callback and replaced by its answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window/unit_type.h"

void RewriteBlockText(std::string &text, TextRewriteCallback callback, void *context);
// Only a font record of exactly 60 bytes has a face name; other font bytes stay as they are.
void RewriteFontFace(std::vector<uint8_t> &font, TextRewriteCallback callback, void *context);
