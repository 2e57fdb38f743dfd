#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own.
# Dependencies point one way: platform -> objectmodel -> host -> add-ins;
# postproc sees only include/, the platform's base and com, and objectmodel.
set -u
root=${1:?usage: check_layering.sh REPO_ROOT}
cd "$root" || exit 2

status=0
# check FOLDER PATTERN-OF-FORBIDDEN-INCLUDES
check() {
    local folder=$1 forbidden=$2
    [ -d "$folder" ] || return 0
    local hits
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($forbidden)/" "$folder" \
        --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.c' 2>/dev/null)
    if [ -n "$hits" ]; then
        echo "upward include in $folder:"
        echo "$hits"
        status=1
    fi
}

check platform/base 'platform/(com|gdi|user|gl|display|framework)|objectmodel|host|addins|postproc'
check platform/com 'platform/(gdi|user|gl|display|framework)|objectmodel|host|addins|postproc'
check platform/kernel 'platform/(gdi|user|gl|display|framework)|objectmodel|host|addins|postproc'
check platform/gdi 'platform/(user|gl|display|framework)|objectmodel|host|addins|postproc'
check platform/user 'platform/(controls|gl|framework)|objectmodel|host|addins|postproc'
check platform/controls 'platform/(gl|framework)|objectmodel|host|addins|postproc'
check platform/gl 'platform/framework|objectmodel|host|addins|postproc'
check platform 'objectmodel|host|addins|postproc'
check include 'host|addins|postproc'
check objectmodel 'host|addins|postproc'
check postproc 'platform/(gdi|user|gl|display|framework)|host|addins'
check host 'addins|postproc'
check addins/milling/geometry 'host|postproc|addins/milling/(core|features)'
check addins/entities 'host|postproc|addins/milling'
exit $status
