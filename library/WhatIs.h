#pragma once
// Answers named questions about the product and the computer.

#include "ProductContext.h"

extern ParamMap theWhatIsAliases;
extern ParamMap theWhatIsResults;

// Returns a text owned by the library, never null. It stays valid until the
// same question is asked again for the same company and software.
const char* WhatIs(const char* company, const char* software, const char* key);
