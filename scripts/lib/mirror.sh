# Sourced by scripts/setup: where the machine's own apt sources fetch from.

# The first archive address of the machine's own apt source lists (under the apt
# configuration folder given, /etc/apt by default), in either list format, leaving out the
# security archive: it carries no source of the packages fetched. Prints nothing when the
# lists name none.
machine_mirror() {
    local etc=${1:-/etc/apt} file
    {
        for file in "$etc"/sources.list.d/*.sources; do
            [ -r "$file" ] || continue
            # deb822: one paragraph per source; "Enabled: no" turns one off.
            awk 'BEGIN { RS = ""; FS = "\n" }
                 {
                     enabled = 1; types = ""; uris = ""
                     for (i = 1; i <= NF; i++) {
                         line = $i
                         if (line ~ /^#/) continue
                         if (tolower(line) ~ /^enabled:[ \t]*no/) enabled = 0
                         if (line ~ /^Types:/) types = line
                         if (line ~ /^URIs:/) { sub(/^URIs:[ \t]*/, "", line); uris = line }
                     }
                     if (!enabled || types !~ /deb/) next
                     n = split(uris, list, /[ \t]+/)
                     for (j = 1; j <= n; j++) if (list[j] != "") print list[j]
                 }' "$file"
        done
        for file in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
            [ -r "$file" ] || continue
            # One line per source: deb [options] address suite components.
            awk '$1 == "deb" || $1 == "deb-src" {
                     i = 2
                     if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
                     if (i <= NF) print $i
                 }' "$file"
        done
    } | grep -E '^(https?|ftp|file|mirror(\+[a-z]+)?)://' | grep -v security | head -n1 || true
}
