#!/bin/sh
# Renders the hand-drawn SVG artwork into the PNGs the program embeds.
# Needs rsvg-convert (librsvg2-bin); the build itself only uses the PNGs.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/.."

render() { # name width height
    rsvg-convert --format=png --width="$2" --height="$3" \
        --output="$out/$1.png" "$here/$1.svg"
}

render icon_app 64 64
for tool in load_bin save_bin load_map map_viewer map_editor \
            table_editor 2d_editor preferences about quit; do
    if [ -f "$here/tool_$tool.svg" ]; then
        render "tool_$tool" 48 48
    fi
done
render about_logo 400 100
