#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own, or
# when a module folder stands in no layer.
#
# The layers, lowest first: a folder may include its own layer and every
# layer before it, never one after it. Folders on one line share a layer
# (the window system and the display back-ends call each other). A folder
# listed with "only:" may include from the platform no more than those
# families. A module's desktop tests, which drive the program's stack on a
# virtual X server, stand with the program.
set -u
root=${1:?usage: check_layering.sh REPO_ROOT}
cd "$root" || exit 2

layers=(
    "platform/base"
    "platform/com"
    "platform/kernel"
    "platform/gdi"
    "platform/gl"
    "platform/user platform/display"
    "platform/controls"
    "platform/framework"
    "include"
    "objectmodel"
    "postproc only:platform/(base|com|kernel)"
    "host/document"
    "host/menulook"
    "host/shell"
    "host/view"
    "host/app host/shell/tests/desktop"
    "addins/entities"
    "addins/milling/geometry"
    "addins/milling/features"
    "addins/milling/core"
)

# Every folder that the layers name, in their order, and the rank of each.
declare -A rank
declare -A only
ordered=()
for ((i = 0; i < ${#layers[@]}; ++i)); do
    for word in ${layers[i]}; do
        case $word in
        only:*) only[${ordered[-1]}]=${word#only:} ;;
        *)
            rank[$word]=$i
            ordered+=("$word")
            ;;
        esac
    done
done

status=0

# A folder's includes of folders that stand above it.
for folder in "${ordered[@]}"; do
    [ -d "$folder" ] || continue
    above=()
    for other in "${ordered[@]}"; do
        if [ "${rank[$other]}" -gt "${rank[$folder]}" ]; then
            above+=("$other")
        fi
    done
    forbidden=$(IFS='|'; echo "${above[*]}")
    if [ -n "${only[$folder]:-}" ]; then
        families=${only[$folder]#platform/(}
        forbidden="$forbidden|platform/(?!(?:${families%)})/)[a-z]+"
    fi
    [ -n "$forbidden" ] || continue
    # Files of a nested layer are checked as that layer's (grep names the
    # folders it leaves out by their last component).
    excludes=()
    for other in "${ordered[@]}"; do
        if [ "$other" != "$folder" ] && [[ $other == "$folder"/* ]]; then
            excludes+=(--exclude-dir="${other##*/}")
        fi
    done
    hits=$(grep -rnP "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<](${forbidden})/" "$folder" \
        --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.c' "${excludes[@]}" 2>/dev/null)
    if [ -n "$hits" ]; then
        echo "upward include in $folder:"
        echo "$hits"
        status=1
    fi
done

# Every module folder stands in a layer: a new folder must be placed.
for candidate in platform/* host/* addins/* addins/milling/*; do
    [ -d "$candidate" ] || continue
    case $candidate in
    addins/milling) continue ;;
    esac
    find "$candidate" -maxdepth 1 \( -name '*.h' -o -name '*.cpp' -o -name CMakeLists.txt \) | grep -q . || continue
    if [ -z "${rank[$candidate]:-}" ]; then
        echo "no layer for $candidate: add it to the layers of $0"
        status=1
    fi
done
exit $status
