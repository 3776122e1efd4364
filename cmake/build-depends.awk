# Prints Installed-Build-Depends (deb-buildinfo(5)) from dpkg-query's list
# of packages, one a line: status, package, architecture, version,
# essential, provides, pre-depends and depends, tab-separated. The list is
# the essential packages, build-essential and the packages in SEEDS
# (name:arch, space-separated), with everything they depend on, every
# installed alternative and provider included. NATIVE is dpkg's architecture.
BEGIN { FS = "\t" }
$1 ~ /^ii/ {
    key = $2 ":" $3
    version[key] = $4
    depends[key] = $7
    if ($5 == "yes") queue[++n] = key
    m = split($6, p, / *, */)
    for (i = 1; i <= m; i++) {
        sub(/ .*/, "", p[i])
        providers[p[i]] = providers[p[i]] " " key
    }
}
function want(key) {
    if ((key in version) && !(key in taken)) { taken[key] = 1; queue[++n] = key }
}
# Takes the installed packages that NAME, depended on by a package of ARCH,
# can be.
function resolve(name, arch,    c, i) {
    if (sub(/:(any|native)$/, "", name) == 0 && name ~ /:/) { want(name); return }
    want(name ":" (arch == "all" ? NATIVE : arch)); want(name ":" NATIVE); want(name ":all")
    c = split(providers[name], p2, " ")
    for (i = 1; i <= c; i++) want(p2[i])
}
END {
    for (i = 1; i <= n; i++) taken[queue[i]] = 1
    resolve("build-essential", NATIVE)
    s = split(SEEDS, seed, " ")
    for (i = 1; i <= s; i++) want(seed[i])
    for (i = 1; i <= n; i++) {
        key = queue[i]
        arch = key; sub(/.*:/, "", arch)
        d = split(depends[key], dep, / *[,|] */)
        for (j = 1; j <= d; j++) {
            name = dep[j]
            sub(/[ (].*/, "", name)
            if (name != "") resolve(name, arch)
        }
    }
    for (key in taken) {
        name = key; arch = key; sub(/:[^:]*$/, "", name); sub(/.*:/, "", arch)
        if (arch != NATIVE && arch != "all") name = name ":" arch
        print " " name " (= " version[key] ")"
    }
}
