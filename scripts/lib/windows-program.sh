# Sourced by the scripts that work the Windows program through its windows
# under Wine (scripts/e2e-windows, scripts/screenshots-windows): builds the
# program, the end-to-end driver and the window unit tests of the windows
# preset, starts Xvfb when there is no display and the build's Wine server,
# and stops both when the calling script exits. Needs the windows preset
# configured.
# usage: windows_program_start; ...; run_driver [--screenshots]
windows_build=build/windows
windows_program="$windows_build/src/app/TolvashuInstaller.exe"
windows_driver="$windows_build/tests/e2e/tolvashu_e2e_driver.exe"
windows_window_tests="$windows_build/tests/winui/winui_tests.exe"

windows_program_start() {
  cmake --build --preset windows --target tolvashu_e2e_driver winui_tests >/dev/null
  . scripts/lib/wine.sh
  . scripts/lib/xvfb.sh
  trap 'wine_stop; xvfb_stop' EXIT
  xvfb_start
  wine_start "$windows_build"
}

# The Windows path of a file of the Unix tree, through Wine's Z: drive.
windows_path() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }

# Runs the driver on the program, with a bound on its time: a window that
# never comes must fail the run, not hang it.
run_driver() {
  timeout 600 cmake/wine-run "$windows_driver" "$(windows_path "$windows_program")" "$@"
}
