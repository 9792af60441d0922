#!/usr/bin/env bash
# Checks the help pages: each one reads as Shift-JIS, each link and picture of a page leads to
# a file that is there (and to a name="…" or id="…" in it, for a link with "#…"), and the help
# speaks of each of the window's commands by the caption the window gives it.
#   help_test.sh SOURCE_FOLDER
set -euo pipefail
source_folder=$1

fail() {
  echo "help: $*" >&2
  exit 1
}

pages=("$source_folder/data/help.html" "$source_folder/data/help"/*.html)
[ -f "${pages[0]}" ] && [ -f "${pages[1]}" ] || fail "no help pages in $source_folder/data"

# The text of a page, as UTF-8.
text_of() { iconv -f CP932 -t UTF-8 "$1" 2>/dev/null; }

all_text=
links=0
for page in "${pages[@]}"; do
  text=$(text_of "$page") || fail "$page is not Shift-JIS (CP932)"
  all_text+=$text$'\n'
  folder=$(dirname "$page")
  # Only the page's own tags: the examples of markup in its text are written as &lt;…&gt;.
  targets=$(grep -oE '<[a-zA-Z][^>]*>' <<<"$text" \
    | grep -oiE '[[:space:]](href|src)="[^"]*"' | sed -E 's/^[^"]*"//; s/"$//' || true)
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    case $target in
      [a-zA-Z]*:*) continue ;; # http:, mailto: and the like
      /*) fail "$page: \"$target\" is not relative to the page" ;;
    esac
    links=$((links + 1))
    file=${target%%#*}
    if [ -z "$file" ]; then file=$page; else file=$folder/$file; fi
    [ -f "$file" ] || fail "$page: \"$target\" leads to no file"
    if [[ $target == *'#'* ]]; then
      name=${target#*#}
      grep -qF -e " name=\"$name\"" -e " id=\"$name\"" <<<"$(text_of "$file")" \
        || fail "$page: \"$target\": no name=\"$name\" or id=\"$name\" in $file"
    fi
  done <<<"$targets"
done

captions=(機種 ページの確認 ケータイ表示 携帯向けに変換 QRコード 公開 パスワードを保存 元に戻す やり直し
          型を選択変更する HTML保存 データ保存 データ開く テキスト地図作成 基本設定)
for caption in "${captions[@]}"; do
  grep -qF "$caption" <<<"$all_text" || fail "no help page speaks of \"$caption\""
done

echo "help: ${#pages[@]} pages, $links links, ${#captions[@]} captions"
