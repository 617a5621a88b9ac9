#!/usr/bin/env bash
# Draws the file item wizard's pictures of the sixteen operations (what goes
# where: the Internet, the workstation, the device; a file or a folder) with
# ImageMagick, as 24-bit bitmaps for the resource script. Run it again after
# changing a picture and commit the bitmaps; the build only reads them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

W=340 H=110
font=DejaVu-Sans

monitor() { # x y
    local x=$1 y=$2
    echo "fill #3A6EA5 stroke #1F3F66 roundrectangle $x,$y $((x+64)),$((y+46)) 3,3"
    echo "fill #CFEAFF stroke #1F3F66 rectangle $((x+5)),$((y+5)) $((x+59)),$((y+39))"
    echo "fill #7A7A7A stroke #4A4A4A rectangle $((x+27)),$((y+47)) $((x+37)),$((y+54))"
    echo "fill #7A7A7A stroke #4A4A4A roundrectangle $((x+14)),$((y+54)) $((x+50)),$((y+59)) 2,2"
}
device() { # x y
    local x=$1 y=$2
    echo "fill #4B4B4B stroke #222222 roundrectangle $x,$y $((x+38)),$((y+62)) 6,6"
    echo "fill #D6F0D0 stroke #222222 rectangle $((x+5)),$((y+7)) $((x+33)),$((y+44))"
    echo "fill #9A9A9A stroke #222222 circle $((x+19)),$((y+53)) $((x+19)),$((y+57))"
}
globe() { # x y
    local x=$1 y=$2 cx=$(($1+28)) cy=$(($2+29))
    echo "fill #8FD0EA stroke #1E5F8A circle $cx,$cy $((cx+27)),$cy"
    echo "fill none stroke #1E5F8A ellipse $cx,$cy 12,27 0,360"
    echo "fill none stroke #1E5F8A line $((cx-27)),$cy $((cx+27)),$cy"
    echo "fill none stroke #1E5F8A line $((cx-23)),$((cy-13)) $((cx+23)),$((cy-13))"
    echo "fill none stroke #1E5F8A line $((cx-23)),$((cy+13)) $((cx+23)),$((cy+13))"
}
bin() { # x y: the recycle bin
    local x=$1 y=$2
    echo "fill #B8C4CC stroke #4A5A66 polygon $((x+4)),$((y+10)) $((x+44)),$((y+10)) $((x+39)),$((y+60)) $((x+9)),$((y+60))"
    echo "fill #8C9BA6 stroke #4A5A66 roundrectangle $x,$((y+3)) $((x+48)),$((y+10)) 2,2"
    for dx in 15 24 33; do echo "fill none stroke #4A5A66 line $((x+dx)),$((y+17)) $((x+dx)),$((y+53))"; done
}
file() { # x y: a sheet with a folded corner
    local x=$1 y=$2
    echo "fill #FFFFFF stroke #333333 polygon $x,$y $((x+14)),$y $((x+20)),$((y+6)) $((x+20)),$((y+26)) $x,$((y+26))"
    echo "fill #DDDDDD stroke #333333 polygon $((x+14)),$y $((x+14)),$((y+6)) $((x+20)),$((y+6))"
    for dy in 11 16 21; do echo "fill none stroke #888888 line $((x+4)),$((y+dy)) $((x+16)),$((y+dy))"; done
}
folder() { # x y
    local x=$1 y=$2
    echo "fill #F2C94C stroke #8A6D1D polygon $x,$((y+3)) $((x+9)),$((y+3)) $((x+12)),$((y+6)) $((x+28)),$((y+6)) $((x+28)),$((y+24)) $x,$((y+24))"
    echo "fill #F7DC7A stroke #8A6D1D rectangle $x,$((y+9)) $((x+28)),$((y+24))"
}
arrow() { # x1 x2 y [both]
    local a=$1 b=$2 y=$3
    echo "fill #2E8B57 stroke #2E8B57 stroke-width 5 line $a,$y $((b-10)),$y"
    echo "stroke-width 1 fill #2E8B57 stroke #2E8B57 polygon $((b-12)),$((y-9)) $b,$y $((b-12)),$((y+9))"
    if [ "${4:-}" = both ]; then
        echo "fill #2E8B57 stroke #2E8B57 stroke-width 5 line $((a+10)),$y $((a+12)),$y"
        echo "stroke-width 1 fill #2E8B57 stroke #2E8B57 polygon $((a+12)),$((y-9)) $a,$y $((a+12)),$((y+9))"
    fi
}
cross() { # x y: deleted
    local x=$1 y=$2
    echo "fill none stroke #C62828 stroke-width 6 line $x,$y $((x+26)),$((y+26))"
    echo "fill none stroke #C62828 stroke-width 6 line $((x+26)),$y $x,$((y+26))"
    echo "stroke-width 1"
}
plus() { # x y: made
    local x=$1 y=$2
    echo "fill #2E8B57 stroke #2E8B57 rectangle $((x+9)),$y $((x+15)),$((y+24))"
    echo "fill #2E8B57 stroke #2E8B57 rectangle $x,$((y+9)) $((x+24)),$((y+15))"
}

# The places: a glyph drawn with its left edge at x, and its caption.
place() { # kind x
    case $1 in
        web) globe "$2" 14; monitor $(($2+44)) 10 ;;
        pc) monitor "$2" 10 ;;
        ce) device $(($2+12)) 8 ;;
        bin) bin $(($2+8)) 8 ;;
    esac
}
caption() { # kind x
    local text
    case $1 in
        web) text="Internet or workstation" ;;
        pc) text=Workstation ;;
        ce) text=Device ;;
        bin) text="Recycle bin" ;;
    esac
    echo "$text"
}

# picture id, origin place (or -), destination place, what (file/folder), mark (copy/two/delete/create)
pictures=(
    "206 web ce file copy"     "215 - ce file delete"     "213 - ce folder create"   "217 - ce folder delete"
    "211 pc ce folder copy"    "220 ce pc folder copy"    "210 ce pc file copy"      "207 web pc file copy"
    "216 pc bin file copy"     "214 - pc folder create"   "218 pc bin folder copy"   "212 pc pc folder copy"
    "221 ce ce folder copy"    "209 ce ce file copy"      "208 pc ce file two"       "223 pc ce folder two"
)

for row in "${pictures[@]}"; do
    read -r id from to what mark <<<"$row"
    draw=$(mktemp)
    {
        echo "fill #FFFFFF stroke #B0B0B0 roundrectangle 0,0 $((W-1)),$((H-1)) 8,8"
        if [ "$from" = - ]; then
            dx=140
            place "$to" $dx
            glyph=$([ "$what" = file ] && file $((dx+80)) 22 || folder $((dx+76)) 22)
            echo "$glyph"
            if [ "$mark" = delete ]; then cross $((dx+78)) 52; else plus $((dx+80)) 54; fi
        else
            fx=$([ "$from" = web ] && echo 20 || echo 40)
            place "$from" $fx
            place "$to" 230
            if [ "$what" = file ]; then file 160 12; else folder 156 12; fi
            if [ "$mark" = two ]; then arrow 130 210 55 both; else arrow 130 210 55; fi
        fi
    } >"$draw"
    args=(-size ${W}x${H} xc:'#F0F0F0' -draw "$(cat "$draw")" -font $font -pointsize 11 -fill '#202020')
    if [ "$from" = - ]; then
        args+=(-annotate +140+100 "$(caption "$to")")
    else
        fx=$([ "$from" = web ] && echo 20 || echo 38)
        args+=(-annotate "+$fx+100" "$(caption "$from")" -annotate +222+100 "$(caption "$to")")
    fi
    convert "${args[@]}" -type TrueColor BMP3:"operation-$id.bmp"
    rm -f "$draw"
done

# The destination page's picture of file attributes: a sheet with ticks.
{
    echo "fill #FFFFFF stroke #333333 polygon 8,3 26,3 34,11 34,38 8,38"
    echo "fill #DDDDDD stroke #333333 polygon 26,3 26,11 34,11"
    for y in 16 24 32; do
        echo "fill #FFFFFF stroke #555555 rectangle 12,$((y-4)) 17,$((y+1))"
        echo "fill none stroke #2E8B57 stroke-width 2 polyline 12,$((y-2)) 14,$y 18,$((y-5))"
        echo "stroke-width 1 fill none stroke #888888 line 20,$((y-1)) 31,$((y-1))"
    done
} >"${tmp:=$(mktemp)}"
convert -size 40x41 xc:'#F0F0F0' -draw "$(cat "$tmp")" -type TrueColor BMP3:attributes-250.bmp
rm -f "$tmp"
