# Fails unless the executable imports system DLLs only: no toolchain runtime or library DLL may be
# needed beside it. Run as: cmake -DOBJDUMP=<objdump> -DEXE=<file.exe> -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump could not read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${EXE} imports nothing: not a PE image of ours?")
endif()
set(system kernel32 user32 gdi32 advapi32 shell32 shlwapi ole32 oleaut32 comctl32 comdlg32 msvcrt
           uxtheme dwmapi version ws2_32 bcrypt crypt32 imm32 winmm shcore ntdll gdiplus msimg32
           windowscodecs)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: ([^ \r]+).*" "\\1" dll "${line}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" base "${dll}")
  if(NOT base IN_LIST system AND NOT base MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not a system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()
