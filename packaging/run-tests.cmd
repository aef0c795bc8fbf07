@echo off
rem Runs Ortelia's tests on this machine: the three test programs beside this file, in
rem turn, against the ortelia.exe beside them. Shows what they print, keeps it in
rem run-tests.log beside this file, and ends with "N passed, N failed"; the exit status is
rem 0 only when every test passed. Each program puts the settings key back exactly as it
rem found it, however it ends; the key is also saved here first and put back after each
rem program should it still differ (an export does not keep every value exactly).
setlocal EnableExtensions
cd /d "%~dp0"
set "key=HKCU\Software\Quillon\Ortelia"
set "ORTELIA_EXE=%~dp0ortelia.exe"
set /a passed=0, failed=0, skipped=0
del /q saved.reg now.reg 2>nul
reg export "%key%" saved.reg /y >nul 2>&1
(echo Ortelia tests, %date% %time%& ver) >run-tests.log
for %%p in (core_tests win32_tests blackbox_tests) do call :run %%p
del /q saved.reg 2>nul
if %skipped% gtr 0 call :say %skipped% skipped, each with its reason above its name
call :say %passed% passed, %failed% failed
if %failed% gtr 0 exit /b 1
exit /b 0

rem One program: its output shown and logged, its counts from GoogleTest's summary. One
rem that ends without a summary, or fails with none counted, counts as one failure.
:run
call :say Running %1.exe
%1.exe >%1.out 2>&1
set status=%errorlevel%
type %1.out
type %1.out >>run-tests.log
set "p=" & set "f=0" & set "s=0"
for /f "tokens=4" %%n in ('find "[  PASSED  ]" ^<%1.out') do set "p=%%n"
for /f "tokens=4" %%n in ('find "[  FAILED  ]" ^<%1.out ^| find "listed below"') do set "f=%%n"
for /f "tokens=4" %%n in ('find "[  SKIPPED ]" ^<%1.out ^| find "listed below"') do set "s=%%n"
del %1.out
if not defined p (set "p=0" & set "f=1") else if not %status%==0 if %f%==0 set "f=1"
if not %status%==0 call :say %1.exe ended with status %status%
set /a passed+=p, failed+=f, skipped+=s
rem The key as saved, or absent as it was, should the program not have put it back.
reg export "%key%" now.reg /y >nul 2>&1
if not exist saved.reg if exist now.reg (
    reg delete "%key%" /f >nul 2>&1
    call :say The settings key, absent before, was removed
)
if exist saved.reg fc /b saved.reg now.reg >nul 2>&1
if exist saved.reg if errorlevel 1 (
    reg delete "%key%" /f >nul 2>&1
    reg import saved.reg >nul 2>&1
    call :say The settings key differed and was put back from its export
)
del /q now.reg 2>nul
exit /b

:say
echo %*
>>run-tests.log echo %*
exit /b
