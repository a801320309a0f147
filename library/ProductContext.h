#pragma once
// What the library knows about the current product and the computer, kept
// for the life of the process: the remembered product, the machine facts and
// the product record that pages, WhatIs and the update check read.
//
// The state is process-wide and unguarded: library calls must not overlap.

#include "CString.h"
#include "Date.h"

#include <map>

// Ordered by unsigned byte order. Reading through operator[] adds an absent
// key with empty text; placeholders are replaced only for keys present.
using ParamMap = std::map<CString, CString>;

extern ParamMap theFacts;
extern ParamMap theUserValues;
extern int theLastStatus;
extern CString theServiceBaseURL;

extern CString theCompanyName;
extern CString theSoftwareName;
extern CString theCurrentVersion;
extern CString theContextKey;
extern CString theComputerName;
extern CString theUserName;
extern Date theToday;
extern char theTodayText[12];
extern bool theMachineInfoCollected;

// Remembers the non-empty arguments, collects the machine facts once per
// process and writes the six local facts (p_ keys) into theFacts.
void LoadContext(CString company, CString software, CString version);
void CollectMachineInfo();
void CollectProductFacts(ParamMap& record);

// Directory of the process's main executable, ending with a backslash.
CString GetModuleDirectory();
// Keeps ASCII letters, digits, '-' and '.', lower-cased.
CString SanitizeName(CString text);
// "Software\Brindlecode\<company>[\<software>]", both parts sanitised.
CString GetRegistryKeyPath(const char* company, const char* software);
