// The Excel stand-in's callback library (our own XLCALL32.DLL): what it
// recorded, for the host program that loaded the add-in.
#pragma once

#include <string>
#include <vector>

struct Registration {
  std::vector<std::string> texts;  // every argument after the module text
  int count;                       // the argument count passed to Excel4v
};

struct StandinLog {
  std::vector<Registration> registrations;
  std::vector<std::string> alerts;    // alert texts as counted
  std::vector<std::string> problems;  // every violation of the C API found
  std::string moduleName;             // what xlGetName answered
  int registerCalls = 0;
  int failRegisterAt = 0;  // 1-based xlfRegister call that fails; 0 for none
  // What GET.WORKSPACE(2) answers: the Excel version the stand-in plays.
  // From 12.0 (Excel 2007) on it expects every type text marked
  // thread-safe ('$'), before that none.
  std::string excelVersion = "16.0";
  int outstandingNames = 0;
};

extern "C" __declspec(dllexport) StandinLog* xlhostLog();
