#!/usr/bin/env bash
# Draws the demo title's pictures, one for each sentence of sentences.tsv, with ImageMagick:
#   demo/draw-pictures.sh OUT_DIR      writes OUT_DIR/1.png ... OUT_DIR/10.png
set -euo pipefail
out=${1:?usage: draw-pictures.sh OUT_DIR}
mkdir -p "$out"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
size=480x360

# picture NUMBER BACKGROUND DRAW...: one 480 x 360 picture from ImageMagick draw primitives.
picture() {
  local number=$1 background=$2; shift 2
  local args=() primitive
  for primitive in "$@"; do args+=(-draw "$primitive"); done
  convert -size "$size" "$background" -strokewidth 3 "${args[@]}" "$out/$number.png"
}

# The "Z z z" of the sleeping pictures needs a font; without one they go without it.
snore() {
  [ -f "$font" ] && convert "$out/$1.png" -font "$font" -pointsize "$2" -fill '#ffffff' -stroke '#333366' \
    -strokewidth 2 -annotate "+$3+$4" 'Z z z' "$out/$1.png" || true
}

# 1 Good morning: the sun over green hills.
picture 1 'gradient:#8fd3ff-#e8f7ff' \
  "fill #ffd23f stroke #ffb000 circle 240,150 240,90" \
  "stroke #ffb000 line 240,50 240,20" "stroke #ffb000 line 240,250 240,280" \
  "stroke #ffb000 line 140,150 110,150" "stroke #ffb000 line 340,150 370,150" \
  "stroke #ffb000 line 170,80 150,60" "stroke #ffb000 line 310,80 330,60" \
  "stroke #ffb000 line 170,220 150,240" "stroke #ffb000 line 310,220 330,240" \
  "fill #5cb85c stroke none ellipse 120,380 260,140 0,360" \
  "fill #4cae4c stroke none ellipse 380,390 240,150 0,360"

# 2 A cup of hot coffee on a table.
picture 2 'xc:#f6e7d2' \
  "fill #b5835a stroke none rectangle 0,270 480,360" \
  "fill none stroke #ffffff circle 320,200 320,165" \
  "fill #ffffff stroke #cccccc roundrectangle 160,140 300,290 20,20" \
  "fill #6b3e1e stroke #ffffff ellipse 230,142 70,14 0,360" \
  "fill none stroke #bbbbbb bezier 200,120 185,95 215,80 200,55" \
  "fill none stroke #bbbbbb bezier 230,120 215,95 245,80 230,55" \
  "fill none stroke #bbbbbb bezier 260,120 245,95 275,80 260,55" \
  "fill #ffffff stroke #cccccc ellipse 230,292 110,14 0,360"

# 3 A cat asleep on the sofa.
picture 3 'xc:#fff3e0' \
  "fill #c0392b stroke none roundrectangle 40,120 440,250 30,30" \
  "fill #e74c3c stroke none roundrectangle 20,200 460,320 30,30" \
  "fill #8e8e8e stroke #555555 ellipse 250,190 110,50 0,360" \
  "fill #8e8e8e stroke #555555 circle 140,170 140,125" \
  "fill #8e8e8e stroke #555555 polygon 105,140 110,95 135,128" \
  "fill #8e8e8e stroke #555555 polygon 175,140 170,95 145,128" \
  "fill none stroke #333333 arc 112,165 132,180 0,180" \
  "fill none stroke #333333 arc 148,165 168,180 0,180" \
  "fill #ff9aa2 stroke none circle 140,188 140,193" \
  "fill none stroke #555555 bezier 355,200 400,230 420,170 395,150"
snore 3 34 300 90

# 4 The train to work.
picture 4 'gradient:#cfe8ff-#ffffff' \
  "fill #7f8c8d stroke none rectangle 0,300 480,312" \
  "stroke #5d4037 line 20,312 20,330" "stroke #5d4037 line 120,312 120,330" \
  "stroke #5d4037 line 220,312 220,330" "stroke #5d4037 line 320,312 320,330" "stroke #5d4037 line 420,312 420,330" \
  "fill #2e86de stroke #1b4f8a roundrectangle 40,150 440,280 24,24" \
  "fill #ffffff stroke #1b4f8a rectangle 70,175 140,225" "fill #ffffff stroke #1b4f8a rectangle 160,175 230,225" \
  "fill #ffffff stroke #1b4f8a rectangle 250,175 320,225" "fill #ffffff stroke #1b4f8a rectangle 340,175 410,225" \
  "fill #f1c40f stroke none rectangle 40,240 440,252" \
  "fill #333333 stroke none circle 110,290 110,272" "fill #333333 stroke none circle 190,290 190,272" \
  "fill #333333 stroke none circle 290,290 290,272" "fill #333333 stroke none circle 370,290 370,272"

# 5 Rain in the afternoon.
rain=()
for x in 60 120 180 240 300 360 420; do
  for y in 170 240 300; do rain+=("stroke #3b8bd9 line $((x + y % 40)),$y $((x + y % 40 - 12)),$((y + 30))"); done
done
picture 5 'gradient:#8a9bab-#d5dde5' \
  "fill #ecf0f1 stroke #95a5a6 circle 170,110 170,55" "fill #ecf0f1 stroke #95a5a6 circle 250,90 250,25" \
  "fill #ecf0f1 stroke #95a5a6 circle 330,115 330,65" "fill #ecf0f1 stroke none rectangle 170,100 330,165" \
  "${rain[@]}"

# 6 Luckily, an umbrella.
picture 6 'gradient:#9fb3c8-#e6edf3' \
  "fill #e84393 stroke #a01c62 path 'M 90,190 A 150,130 0 0,1 390,190 Z'" \
  "fill none stroke #a01c62 line 240,62 240,190" \
  "fill none stroke #555555 line 240,190 240,300" \
  "fill none stroke #555555 arc 240,285 280,325 0,180" \
  "stroke #3b8bd9 line 60,60 50,90" "stroke #3b8bd9 line 420,80 410,110" "stroke #3b8bd9 line 80,260 70,290" \
  "stroke #3b8bd9 line 400,250 390,280" "stroke #3b8bd9 line 150,30 140,60" "stroke #3b8bd9 line 340,20 330,50"

# 7 Apples on the way home.
apples=()
for xy in "150,200" "240,190" "330,205" "195,265" "290,265"; do
  x=${xy%,*} y=${xy#*,}
  apples+=("fill #d63031 stroke #8b1a1a circle $x,$y $x,$((y - 42))")
  apples+=("stroke #5d4037 line $x,$((y - 40)) $((x + 5)),$((y - 60))")
  apples+=("fill #27ae60 stroke none ellipse $((x + 16)),$((y - 54)) 12,6 0,360")
done
picture 7 'xc:#fdf2e9' "fill #d2a679 stroke #8d6e4f polygon 90,230 390,230 350,340 130,340" "${apples[@]}" \
  "fill #c49a6c stroke #8d6e4f rectangle 90,230 390,250"

# 8 Cooking dinner together.
picture 8 'xc:#fef9e7' \
  "fill #7f8c8d stroke none rectangle 60,290 420,310" \
  "fill #34495e stroke none rectangle 120,310 140,360" "fill #34495e stroke none rectangle 340,310 360,360" \
  "fill #e67e22 stroke #a04000 path 'M 140,170 L 340,170 L 320,285 L 160,285 Z'" \
  "fill #a04000 stroke none rectangle 110,175 140,190" "fill #a04000 stroke none rectangle 340,175 370,190" \
  "fill #f5cba7 stroke #a04000 ellipse 240,170 100,14 0,360" \
  "fill none stroke #bbbbbb bezier 200,150 180,120 220,100 200,70" \
  "fill none stroke #bbbbbb bezier 240,150 220,120 260,100 240,70" \
  "fill none stroke #bbbbbb bezier 280,150 260,120 300,100 280,70" \
  "fill #e74c3c stroke none circle 190,290 190,296" "fill #e74c3c stroke none circle 290,290 290,296"

# 9 The moon is bright tonight.
stars=()
for xy in 60,60 150,40 400,50 430,150 90,180 330,230 200,300 420,300 50,300 260,70; do
  x=${xy%,*} y=${xy#*,}
  stars+=("fill #fff6a9 stroke none polygon $x,$((y - 8)) $((x + 3)),$((y - 2)) $((x + 8)),$y $((x + 3)),$((y + 2)) $x,$((y + 8)) $((x - 3)),$((y + 2)) $((x - 8)),$y $((x - 3)),$((y - 2))")
done
picture 9 'xc:#13254a' "${stars[@]}" \
  "fill #fff6a9 stroke none circle 240,170 240,80" "fill #13254a stroke none circle 285,145 285,55"

# 10 Good night: a bed under the window.
picture 10 'xc:#2c3e50' \
  "fill #1a252f stroke #7f8c8d rectangle 300,40 430,150" "fill #f7dc6f stroke none circle 365,90 365,65" \
  "fill #1a252f stroke none circle 380,80 380,58" "stroke #7f8c8d line 365,40 365,150" \
  "fill #8d6e63 stroke none rectangle 40,210 70,330" "fill #8d6e63 stroke none rectangle 410,250 440,330" \
  "fill #ecf0f1 stroke none roundrectangle 60,230 430,290 12,12" \
  "fill #ffffff stroke #bdc3c7 roundrectangle 80,200 170,240 16,16" \
  "fill #5dade2 stroke #2e86c1 roundrectangle 150,220 430,300 16,16"
snore 10 38 120 150
