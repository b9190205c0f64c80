#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the Wine prefix that
# WINEPREFIX names; CTest puts it before each test of the Windows build.
exec wine "$@"
