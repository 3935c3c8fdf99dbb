// The add-in shell: Excel's entry points into the add-in and the one-time
// registration of the worksheet functions.
#pragma once

#include "../frontend/catalogue.hpp"
#include "../xlcall/xlcall.hpp"

namespace vapordex::shell {

// The most worksheet arguments one function may have (Excel4's limit of 30
// callback arguments less nothing: Excel accepts up to 30 per function).
inline constexpr int kMaxArguments = 30;
// Capacity of the assembled argument text ("T,P,formulation").
inline constexpr int kArgumentTextCapacity = 255;

// The registration list built from a table: for each function copies of its
// name, type text, argument text, function help and argument helps, then a
// null entry; a further null entry ends the list. Null on failure (an
// allocation failed, a function has more than 30 arguments, or its argument
// text does not fit), with nothing left allocated. threadSafe appends the
// thread-safe mark '$' to every type text.
char** buildRegistrationList(std::span<const FunctionInfo> functions, bool threadSafe = false);
void freeRegistrationList(char** list);

// Registers every function of a table with Excel (building its list and
// freeing it afterwards). Returns 1 when all were registered, 0 otherwise.
int registerFunctions(std::span<const FunctionInfo> functions);

// Excel recalculates thread-safe functions on several threads from
// Excel 2007 (version 12) on; earlier versions know no thread-safe mark.
inline constexpr int kThreadSafeFromVersion = 12;

// The major version of the Excel that loaded the add-in, from
// GET.WORKSPACE(2) (a text such as "16.0"); 0 where Excel answers none.
int excelMajorVersion();

// What xlAutoOpen does: builds the add-in's own list (thread-safe from
// Excel 2007 on), keeps it while the add-in is loaded (freeing one kept from
// an earlier opening) and registers it.
int openAddin();

// What xlAutoClose does: frees the kept list.
void closeAddin();

}  // namespace vapordex::shell

#define VDX_ENTRY extern "C" VDX_EXPORT

VDX_ENTRY int VDX_EXCEL_API xlAutoOpen(void);
VDX_ENTRY int VDX_EXCEL_API xlAutoClose(void);
VDX_ENTRY LPXLOPER VDX_EXCEL_API xlAutoRegister(LPXLOPER name);
VDX_ENTRY int VDX_EXCEL_API xlAutoAdd(void);
VDX_ENTRY int VDX_EXCEL_API xlAutoRemove(void);
VDX_ENTRY LPXLOPER VDX_EXCEL_API xlAddInManagerInfo(LPXLOPER action);
