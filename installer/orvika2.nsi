; Orvika2 setup: a per-user installation that needs no administrator rights.
; Built by scripts/make-installer.sh, which defines:
;   VERSION             the project's version from CMake (four numbers)
;   FILES_DIR           Orvika2.exe, orvika2ctl.exe, orvika2.ico, the configuration
;                       template Orvika2Config.ini and the welcome and finish
;                       pages' picture wizard.bmp (164 x 314), all of one fixed time
;   OUT_FILE            the setup file to write
;   FINISH_UNINSTALLER  the script run on the uninstaller before it is packed
;   UNINSTALLER_COPY    where that script keeps a copy of it
; The pages follow the system's display language: Traditional Chinese or,
; for any other, English. Switches: /S silent, /D=FOLDER (last) another
; installation folder.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!macro REQUIRE_DEFINE NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: build with scripts/make-installer.sh"
  !endif
!macroend
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE FILES_DIR
!insertmacro REQUIRE_DEFINE OUT_FILE
!insertmacro REQUIRE_DEFINE FINISH_UNINSTALLER
!insertmacro REQUIRE_DEFINE UNINSTALLER_COPY

!define APP_NAME "Orvika2"
!define PUBLISHER "Orvika2 Project"
!define APP_EXE "Orvika2.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvika2"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define LINK_NAME "Orvika2.lnk"
; The main window is a dialog titled "Orvika2"; its menu's "Close program"
; command (resources/resource.h: ID_CLOSE_PROGRAM) removes the tray icon and
; saves the configuration over the template on the way out.
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_TITLE "Orvika2"
!define ID_CLOSE_PROGRAM 32786
!define SYNCHRONIZE 0x00100000
!define CLOSE_WAIT_MS 10000
!define LOAD_LIBRARY_SEARCH_SYSTEM32 0x800
!define TOKEN_QUERY 8
!define TOKEN_ELEVATION 20

Name "${APP_NAME}"
OutFile "${OUT_FILE}"
; Signed (when a certificate is given) before it is packed; the copy is for the sums.
!uninstfinalize 'sh "${FINISH_UNINSTALLER}" "%1" "${UNINSTALLER_COPY}"' = 0
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
BrandingText "${APP_NAME} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

Var ClosedRunningApp

!define MUI_ICON "${FILES_DIR}\orvika2.ico"
!define MUI_UNICON "${FILES_DIR}\orvika2.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${FILES_DIR}\wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${FILES_DIR}\wizard.bmp"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartAppAsUser
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback for every system language not listed.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"

LangString StillRunning ${LANG_ENGLISH} "Orvika2 is still running and could not be closed.$\r$\nClose it (for example a settings window that is still open), then choose Retry."
LangString StillRunning ${LANG_TRADCHINESE} "Orvika2 仍在執行，無法關閉。$\r$\n請先關閉它（例如仍開著的系統設定視窗），再按「重試」。"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileDescription" "${APP_NAME} 安裝程式"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "LegalCopyright" "${PUBLISHER}"

; The installer and the uninstaller each need their own copy of a function.
!macro DEFINE_SHARED_FUNCTIONS UN
  ; Closes every running Orvika2 as its own menu would, and waits for each
  ; process to end so that its files can be replaced. There is no
  ; single-instance rule, so there may be several.
  Function ${UN}CloseRunningApp
    StrCpy $ClosedRunningApp 0
    ${Do}
      FindWindow $R0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
      ${If} $R0 = 0
        ${Break}
      ${EndIf}
      StrCpy $ClosedRunningApp 1
      StrCpy $1 0
      System::Call 'user32::GetWindowThreadProcessId(p R0, *i .r1) i'
      System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
      SendMessage $R0 ${WM_COMMAND} ${ID_CLOSE_PROGRAM} 0 /TIMEOUT=5000
      ${If} $2 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS}) i .r3'
        System::Call 'kernel32::CloseHandle(p r2)'
      ${Else}
        ; No handle to the process: the window going away has to do.
        ${For} $4 1 100
          System::Call 'user32::IsWindow(p R0) i .r3'
          ${IfThen} $3 = 0 ${|} ${ExitFor} ${|}
          Sleep 100
        ${Next}
      ${EndIf}
      ${If} $3 <> 0
        ; Busy in a window of its own (a message box, the settings window).
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
        retry:
      ${EndIf}
    ${Loop}
  FunctionEnd
!macroend
!insertmacro DEFINE_SHARED_FUNCTIONS ""
!insertmacro DEFINE_SHARED_FUNCTIONS "un."

; No DLL from the folder the setup was started in (often Downloads): the
; plug-ins and anything Windows loads for us come from System32.
Function .onInit
  System::Call 'kernel32::SetDefaultDllDirectories(i ${LOAD_LIBRARY_SEARCH_SYSTEM32}) i'
  SetShellVarContext current
FunctionEnd

Function un.onInit
  System::Call 'kernel32::SetDefaultDllDirectories(i ${LOAD_LIBRARY_SEARCH_SYSTEM32}) i'
  SetShellVarContext current
FunctionEnd

; Orvika2 never runs with the setup's rights when someone elevated the setup:
; the shell that is already running (as the signed-in user) starts it then.
; A token that cannot be read counts as elevated.
Function StartAppAsUser
  StrCpy $1 0
  StrCpy $2 1
  System::Call 'kernel32::GetCurrentProcess() p .r0'
  System::Call 'advapi32::OpenProcessToken(p r0, i ${TOKEN_QUERY}, *p .r1) i .r3'
  ${If} $3 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i ${TOKEN_ELEVATION}, *i .r2, i 4, *i .r4) i .r3'
    ${IfThen} $3 = 0 ${|} StrCpy $2 1 ${|}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ${If} $2 = 0
    Exec '"$INSTDIR\${APP_EXE}"'
  ${Else}
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${APP_EXE}"'
  ${EndIf}
FunctionEnd

Section "Orvika2"
  Call CloseRunningApp

  SetOutPath "$INSTDIR"
  File "${FILES_DIR}\${APP_EXE}"
  File "${FILES_DIR}\orvika2ctl.exe"
  ; The template seeds a user's first configuration. The application copies
  ; the user's configuration over it at every close; an upgrade keeps that.
  SetOverwrite off
  File "${FILES_DIR}\Orvika2Config.ini"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The same link the application's own settings place and remove; started
  ; from the installation folder, it finds the template.
  CreateShortCut "$SMPROGRAMS\${LINK_NAME}" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; A silent upgrade puts back what it closed; the finish page offers it otherwise.
  ${If} ${Silent}
  ${AndIf} $ClosedRunningApp = 1
    Call StartAppAsUser
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.CloseRunningApp

  Delete "$SMPROGRAMS\${LINK_NAME}"
  Delete "$DESKTOP\${LINK_NAME}"
  DeleteRegValue HKCU "${RUN_KEY}" "Orvika2"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The user's configuration in the application-data folder stays; the
  ; template beside the executable is part of the program.
  Delete "$INSTDIR\${APP_EXE}"
  Delete "$INSTDIR\orvika2ctl.exe"
  Delete "$INSTDIR\Orvika2Config.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
