#!/bin/sh
# Joins the six stage screenshots of this folder into stages.png, the README's picture, each
# labelled with the number --match gives it (ImageMagick's montage).
set -e
cd "$(dirname "$0")"
montage -font DejaVu-Sans -pointsize 15 -background white \
  -label '0  meadow' stage1.png -label '1  night courtyard' stage2.png -label '2  dark hall' stage3.png \
  -label '3  harbour' stage4.png -label '4  raft' stage5.png -label '5  rooftop' stage6.png \
  -tile 3x2 -geometry 320x240+4+4 -depth 8 -type TrueColor -define png:color-type=2 -strip stages.png
