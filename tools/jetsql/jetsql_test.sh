#!/bin/sh
# jetsql and mkmdb end to end: mkmdb writes a file, jetsql reads it back as CSV.
set -u
mkmdb=$1 jetsql=$2
dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
failures=0
check() {
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$3" "$2"
        failures=$((failures + 1))
    fi
}

printf 'PROVINCE,DC,YZBM:long\n北京市,"海淀, ""中关村""",100080\n上海市,,200000\n北京市,东城,100010\n' > zip.csv
printf 'A\nx\n' > other.csv
"$mkmdb" t.mdb Zipdex=zip.csv Other=other.csv || exit 1

check "table list" "$("$jetsql" t.mdb)" "$(printf 'Zipdex\nOther')"
check "rows as CSV" "$("$jetsql" t.mdb "SELECT * FROM [zipdex] WHERE PROVINCE = '北京市'" | tr -d '\r')" \
    "$(printf 'PROVINCE,DC,YZBM\n北京市,"海淀, ""中关村""",100080\n北京市,东城,100010')"
check "CRLF line ends" "$("$jetsql" t.mdb "SELECT A FROM Other" | od -An -c | tr -s ' ')" " A \r \n x \r \n"

"$jetsql" t.mdb "SELECT * FROM Nowhere" > out.txt 2> err.txt
check "exit status on error" "$?" "1"
check "error text" "$(cat err.txt)" "jetsql: unknown table 'Nowhere'"
check "no rows on error" "$(cat out.txt)" ""

"$mkmdb" bad.mdb Zipdex 2> err.txt
check "mkmdb exit status" "$?" "1"
check "mkmdb error text" "$(cat err.txt)" "mkmdb: 'Zipdex' is not TABLE=FILE.csv"
printf 'N:long\nabc\n' > bad.csv
"$mkmdb" bad.mdb T=bad.csv 2> err.txt
check "mkmdb bad number" "$(cat err.txt)" "mkmdb: table 'T', row 1, column 'N': 'abc' is not a long integer"
check "nothing written" "$(ls bad.mdb 2>/dev/null)" ""

[ "$failures" -eq 0 ]
