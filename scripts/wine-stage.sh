#!/usr/bin/env bash
# The Windows build under Wine: cross-built programs and tests run against
# Wine's real registry and oleaut32. Filled in by the Windows build.
set -euo pipefail
echo "no Windows stage yet"
