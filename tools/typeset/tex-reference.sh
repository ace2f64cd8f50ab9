#!/usr/bin/env bash
# Typesets a formula set with LaTeX, as the visual reference to compare the
# engine with: one PNG per formula, numbered as pensato_typeset numbers its
# own (formula-001.png, ...), at the scale of the editor's 20 points.
#
#   tex-reference.sh <formula file> <output folder>
#
# Needs latex and dvipng (Debian: texlive-latex-base, texlive-latex-recommended,
# dvipng). For looking only: nothing of the build or the tests runs it.
# Then: pensato_typeset -f <file> --white --reference <folder> --sheet sheet.png
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <formula file> <output folder>" >&2; exit 1; }
formulas=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mkdir -p "$2"
out=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The dialect's own spellings, written as LaTeX has them.
to_latex() {
    sed -e 's/\\cbrt{/\\sqrt[3]{/g' \
        -e 's/\\overbrace{\([^{}]*\)}{/\\overbrace{\1}^{/g' \
        -e 's/\\underbrace{\([^{}]*\)}{/\\underbrace{\1}_{/g'
}

{
    cat <<'EOF'
\documentclass[10pt]{article}
\usepackage{amsmath,amssymb,xcolor}
\pagestyle{empty}
\begin{document}
EOF
    # The editor reads "$" + the text: math first, "$" switches to text.
    # Running text (text style), as the engine sets a formula.
    while IFS= read -r line || [ -n "$line" ]; do
        [ -z "${line//[[:space:]]/}" ] && continue
        latex=$(printf '%s' "$line" | to_latex)
        dollars=$(printf '%s' "$latex" | tr -cd '$' | wc -c)
        close='$'
        [ $((dollars % 2)) -eq 1 ] && close=''
        printf '%s\n\\newpage\n' "\$$latex$close"
    done < "$formulas"
    echo '\end{document}'
} > "$work/set.tex"

(cd "$work" && latex -interaction=nonstopmode set.tex > latex.log 2>&1) \
    || echo "latex reported errors: see the pictures" >&2
# 20 points at the 100 dots per inch of Qt's offscreen screen are 27.8 pixels;
# TeX's 10 points at 201 dpi too.
dvipng -q -T tight -D 201 -bg White -o "$out/formula-%03d.png" "$work/set.dvi" > /dev/null
ls "$out" | wc -l
