#!/usr/bin/env bash
# Lists the DLLs and functions each shipped program imports and fails on a DLL
# outside the system set or a function that Windows XP SP2 does not have.
#   scripts/check-imports.sh bin/Velkor.exe bin/TarnWABSync.exe ...
set -uo pipefail
objdump=i686-w64-mingw32-objdump

allowed_dlls="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll ole32.dll oleaut32.dll
comctl32.dll comdlg32.dll msvcrt.dll version.dll imm32.dll uxtheme.dll"

# Functions that arrived after Windows XP SP2 (or on 64-bit XP only).
denied='^(GetTickCount64|InitializeConditionVariable|SleepConditionVariable.*|WakeConditionVariable|WakeAllConditionVariable|InitializeSRWLock|AcquireSRWLock.*|ReleaseSRWLock.*|TryAcquireSRWLock.*|InitOnce.*|Fls(Alloc|Free|GetValue|SetValue)|GetSystemTimePreciseAsFileTime|CreateEventEx.*|CreateMutexEx.*|CreateSemaphoreEx.*|CreateWaitableTimerEx.*|InitializeCriticalSectionEx|.*Ex2[AW]?|GetCurrentProcessorNumber|CompareStringEx|LCMapStringEx|GetLocaleInfoEx|LocaleNameToLCID|LCIDToLocaleName|GetUserDefaultLocaleName|GetFinalPathNameByHandle[AW]|CancelIoEx|QueryFullProcessImageName[AW]|SetFileInformationByHandle|GetFileInformationByHandleEx|RegDeleteTree[AW]|RegGetValue[AW]|RegSetKeyValue[AW]|RegDeleteKeyEx[AW]|RegCopyTree[AW]|SHGetKnownFolderPath|TaskDialog.*|GetThreadId|GetProcessId|WerRegister.*|RaiseFailFastException|AddDllDirectory|SetDefaultDllDirectories|GetLogicalProcessorInformation.*|GetNumaNodeProcessorMaskEx|SetThreadStackGuarantee|RtlCaptureStackBackTrace|_.*_s|[a-z]+_s)$'

status=0
for exe in "$@"; do
  if [ ! -f "$exe" ]; then echo "import check: $exe is missing"; status=1; continue; fi
  echo "== $(basename "$exe")"
  dump=$($objdump -p "$exe") || { echo "  cannot read imports"; status=1; continue; }
  dll=""
  while IFS= read -r line; do
    if [[ $line =~ DLL\ Name:\ (.*)$ ]]; then
      dll=$(echo "${BASH_REMATCH[1]}" | tr 'A-Z' 'a-z')
      count=$(echo "$dump" | awk -v d="${BASH_REMATCH[1]}" '$0 ~ "DLL Name: "d {f=1; next} /DLL Name:/ {f=0} f && NF>=3 && $1 ~ /^[0-9a-f]+$/ {n++} END {print n+0}')
      echo "  $dll ($count functions)"
      if ! grep -qw "$dll" <<<"$allowed_dlls"; then echo "  FAIL: $dll is not a system DLL of Windows XP"; status=1; fi
    elif [ -n "$dll" ] && [[ $line =~ ^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+([A-Za-z_][A-Za-z0-9_@]*) ]]; then
      fn=${BASH_REMATCH[1]}
      if [[ $fn =~ $denied ]]; then echo "  FAIL: $dll!$fn is not available on Windows XP"; status=1; fi
    elif [[ $line =~ ^[[:space:]]*$ ]]; then
      :
    fi
  done <<<"$dump"
done
[ $status -eq 0 ] && echo "import check: passed" || echo "import check: FAILED"
exit $status
