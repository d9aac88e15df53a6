#!/bin/sh
# Creates a test user's certificate database HOME/.pki/nssdb and imports keystores into it.
# usage: make-nssdb.sh HOME DB_PASSWORD [KEYSTORE KEYSTORE_PASSWORD]...
# An empty DB_PASSWORD makes a database without a password, as most users have.
set -eu

if [ "$#" -lt 2 ] || [ $(($# % 2)) -ne 0 ]; then
    echo "usage: $0 HOME DB_PASSWORD [KEYSTORE KEYSTORE_PASSWORD]..." >&2
    exit 2
fi
db="sql:$1/.pki/nssdb"
password_file="$1/.nssdb-password"
mkdir -p "$1/.pki/nssdb"
printf '%s\n' "$2" >"$password_file"
if [ -z "$2" ]; then
    certutil -N -d "$db" --empty-password
else
    certutil -N -d "$db" -f "$password_file"
fi
shift 2
while [ "$#" -gt 0 ]; do
    pk12util -i "$1" -d "$db" -k "$password_file" -W "$2" >/dev/null
    shift 2
done
rm -f "$password_file"
