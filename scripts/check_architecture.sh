#!/usr/bin/env bash
# Checks that the module's subsystem libraries depend on each other in one
# direction only: each uses only the libraries before it in the declared order
# (CS_SUBSYSTEMS in the top CMakeLists.txt). Three views of the same rule:
#
#   links SOURCE_DIR WORK_DIR LIB...        the link interface, as `cmake --graphviz`
#                                           draws it for a fresh configure of SOURCE_DIR
#   symbols LIB=ARCHIVE...                  what each archive leaves undefined is
#                                           defined in it or below it, never only above
#   includes SRC_DIR                        each file under src/ includes headers of
#                                           its own subsystem or of one below it
#   tool-links SOURCE_DIR WORK_DIR TIER...  the tools' libraries (tools/CMakeLists.txt),
#                                           TIER a library or siblings joined by commas:
#                                           each links only libraries of lower tiers
#   tool-includes TOOLS_DIR                 each file under tools/ includes headers of
#                                           its own folder or of a lower tier's
#
# LIB..., TIER... and LIB=ARCHIVE... come lowest first. Every violation is
# printed; the exit status is 1 when there is any.
set -euo pipefail
export LC_ALL=C

fail=0
complain() {
    echo "architecture: $*" >&2
    fail=1
}

check_links() {
    local source=$1 work=$2 only_listed=$3
    shift 3
    local order=("$@")
    mkdir -p "$work"
    cmake -S "$source" -B "$work" -DCMAKE_BUILD_TYPE=Debug --graphviz="$work/graph.dot" \
        >"$work/configure.log" 2>&1 || {
        cat "$work/configure.log" >&2
        complain "configuring $source for the graph failed"
        return
    }
    # Edges between targets, by name: "from to".
    local edges
    edges=$(awk '
        /^[ \t]*"node[0-9]+" \[ label = / {
            match($0, /"node[0-9]+"/); id = substr($0, RSTART, RLENGTH)
            match($0, /label = "[^"]*"/); name[id] = substr($0, RSTART + 9, RLENGTH - 10)
            next
        }
        match($0, /"node[0-9]+" -> "node[0-9]+"/) {
            split(substr($0, RSTART, RLENGTH), ends, " -> ")
            edge[++n] = ends[1] " " ends[2]
        }
        END {
            for (i = 1; i <= n; ++i) {
                split(edge[i], ends, " ")
                print name[ends[1]], name[ends[2]]
            }
        }' "$work/graph.dot" | sort -u)

    declare -A rank=()
    local i name names=()
    for i in "${!order[@]}"; do
        for name in ${order[$i]//,/ }; do
            rank[$name]=$i
            names+=("$name")
        done
    done
    [ "${#order[@]}" -gt 0 ] || complain "no subsystem order given"

    echo "Links among the subsystem libraries (lowest first: ${order[*]}):"
    local from to
    while read -r from to; do
        [ -n "$from" ] && [ -n "${rank[$from]+x}" ] || continue
        if [ -n "${rank[$to]+x}" ]; then
            echo "  $from -> $to"
            [ "${rank[$to]}" -lt "${rank[$from]}" ] ||
                complain "$from links $to, which is not below it"
        elif [ "$only_listed" = no ] && [[ $to == cs_* || $to == ContactScope ]]; then
            complain "$from links $to, which is not a subsystem below it"
        fi
    done <<<"$edges"
    for from in "${names[@]}"; do
        grep -q "^$from " <<<"$edges" || grep -q " $from\$" <<<"$edges" ||
            complain "$from does not appear in the graph"
    done

    # Any cycle among the project's own targets, subsystems or not.
    local cycle
    cycle=$(awk '
        $1 ~ /^(cs_|ContactScope$)/ && $2 ~ /^(cs_|ContactScope$)/ {
            out[$1] = out[$1] " " $2; nodes[$1]; nodes[$2]
        }
        function visit(v,    k, parts, w) {
            state[v] = 1; path[++depth] = v
            k = split(out[v], parts, " ")
            for (; k > 0; --k) {
                w = parts[k]
                if (state[w] == 1) { found = w; return 1 }
                if (state[w] == 0 && visit(w)) return 1
            }
            state[v] = 2; --depth
            return 0
        }
        END {
            for (v in nodes) {
                if (state[v] == 0 && visit(v)) {
                    line = found
                    for (i = depth; i >= 1 && path[i] != found; --i) line = path[i] " -> " line
                    print found " -> " line
                    exit
                }
            }
        }' <<<"$edges")
    [ -z "$cycle" ] || complain "link cycle: $cycle"
}

check_symbols() {
    local names=() archives=() pair
    for pair in "$@"; do
        names+=("${pair%%=*}")
        archives+=("${pair#*=}")
    done
    local work
    work=$(mktemp -d)
    trap 'rm -rf "$work"' RETURN
    # Symbol -> lowest rank that defines it.
    local i
    for i in "${!archives[@]}"; do
        [ -f "${archives[$i]}" ] || { complain "no archive ${archives[$i]}"; continue; }
        nm -g --defined-only "${archives[$i]}" 2>/dev/null |
            awk -v r="$i" 'NF >= 3 { print $3, r }' >>"$work/defined"
    done
    sort -k1,1 -k2,2n "$work/defined" | awk '!seen[$1]++' >"$work/lowest"
    for i in "${!archives[@]}"; do
        [ -f "${archives[$i]}" ] || continue
        nm -u "${archives[$i]}" 2>/dev/null | awk 'NF >= 2 { print $2 }' | sort -u |
            join - "$work/lowest" |
            awk -v r="$i" -v lib="${names[$i]}" -v all="${names[*]}" '
                BEGIN { split(all, name, " ") }
                $2 > r { print lib " uses " $1 ", defined only in " name[$2 + 1] }' \
                >>"$work/upward"
    done
    if [ -s "$work/upward" ]; then
        while read -r line; do complain "$line"; done <"$work/upward"
    else
        echo "No library uses a symbol that only a library above it defines (${names[*]})."
    fi
}

# The folder (or header) of each subsystem library, lowest first. The drawing
# surface interface is the platform backend's: the backend implements it and
# the renderer paints through it.
layer_of() {
    case $1 in
        host/*) echo 0 ;;
        traffic/*) echo 1 ;;
        render/DrawingSurface.h | render/backends/*) echo 2 ;;
        render/*) echo 3 ;;
        drawables/*) echo 4 ;;
        properties/*) echo 5 ;;
        module/*) echo 6 ;;
        *) echo "" ;;
    esac
}

# Each C++ file under DIR as a line "file" (relative to DIR), followed by a
# line "file header" for each header it includes with quotes.
includes_under() {
    local dir=$1 file relative
    while IFS= read -r file; do
        relative=${file#"$dir"/}
        echo "$relative"
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
            sed "s|^|$relative |"
    done < <(find "$dir" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
}

check_includes() {
    local relative header own theirs count=0
    while read -r relative header; do
        own=$(layer_of "$relative")
        if [ -z "$header" ]; then
            [ -n "$own" ] || complain "$relative belongs to no subsystem"
            continue
        fi
        theirs=$(layer_of "$header")
        [ -n "$own" ] && [ -n "$theirs" ] || continue  # not one of the module's own headers
        count=$((count + 1))
        [ "$theirs" -le "$own" ] || complain "$relative includes $header, from a subsystem above it"
    done < <(includes_under "$1")
    [ "$fail" -ne 0 ] || echo "All $count includes of the module's own headers point down or sideways."
}

# The tier of each folder of tools/, lowest first; folders of one tier are
# siblings and include nothing of each other.
tool_tier_of() {
    case $1 in
        output/*) echo 0 ;;
        scenario/* | gauge/*) echo 1 ;;
        session/* | report/*) echo 2 ;;
        preview/* | workbench/*) echo 3 ;;
        cli/*) echo 4 ;;
        *) echo "" ;;
    esac
}

check_tool_includes() {
    local relative header own theirs count=0
    while read -r relative header; do
        own=$(tool_tier_of "$relative")
        if [ -z "$header" ]; then
            [ -n "$own" ] || complain "tools/$relative belongs to no tier"
            continue
        fi
        [ -n "$own" ] && [[ $header == tools/* ]] || continue
        header=${header#tools/}
        theirs=$(tool_tier_of "$header")
        count=$((count + 1))
        if [ "${header%%/*}" != "${relative%%/*}" ] &&
            { [ -z "$theirs" ] || [ "$theirs" -ge "$own" ]; }; then
            complain "tools/$relative includes tools/$header, which is not below it"
        fi
    done < <(includes_under "$1")
    [ "$fail" -ne 0 ] || echo "All $count includes among the tools' folders point down."
}

command=${1:-}
shift || true
case $command in
    links) check_links "$1" "$2" no "${@:3}" ;;
    tool-links) check_links "$1" "$2" yes "${@:3}" ;;
    tool-includes) check_tool_includes "$@" ;;
    symbols) check_symbols "$@" ;;
    includes) check_includes "$@" ;;
    *)
        echo "usage: $0 links SOURCE_DIR WORK_DIR LIB... | symbols LIB=ARCHIVE... |" \
            "includes SRC_DIR | tool-links SOURCE_DIR WORK_DIR TIER... | tool-includes TOOLS_DIR" >&2
        exit 2
        ;;
esac
exit "$fail"
