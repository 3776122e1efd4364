# What went into the release programs, as Debian's package manager knows
# it: the third-party notices of the libraries each link used, and the
# .buildinfo that lists the packages whose files made the archives. Used by
# make-packages.cmake; Debian only.
include_guard(GLOBAL)

# The library each archive that a release link may use belongs to; the
# notice of library L is doc/third-party/L.txt. An archive not listed here
# stops the package step.
set(library_of_libc.a glibc)
set(library_of_libm.a glibc)
foreach(a libstdc++.a libsupc++.a libgcc.a libgcc_eh.a libssp.a libssp_nonshared.a)
  set(library_of_${a} gcc)
endforeach()
foreach(a libmingw32.a libmingwex.a libmsvcrt.a libmoldname.a libkernel32.a libadvapi32.a)
  set(library_of_${a} mingw-w64)
endforeach()
# The licence texts that end the notices of library L, and the copyright
# line of each GCC runtime library.
set(licences_of_glibc /usr/share/common-licenses/LGPL-2.1)
set(licences_of_gcc gcc-exception-3.1.txt /usr/share/common-licenses/GPL-3)
set(gcc_part_of_libstdc++.a libstdc++)
set(gcc_part_of_libsupc++.a libstdc++)
set(gcc_part_of_libgcc.a libgcc)
set(gcc_part_of_libgcc_eh.a libgcc_eh)
set(gcc_part_of_libssp.a libssp)
set(gcc_part_of_libssp_nonshared.a libssp)
set(copyright_of_libstdc++ "libstdc++: Copyright (C) 1997-2022 Free Software Foundation, Inc.")
set(copyright_of_libgcc "libgcc: Copyright (C) 1989-2022 Free Software Foundation, Inc.")
set(copyright_of_libgcc_eh "libgcc_eh: Copyright (C) 1997-2022 Free Software Foundation, Inc.")
set(copyright_of_libssp "libssp: Copyright (C) 2004-2022 Free Software Foundation, Inc.")

# bigsum_link_inputs(OUT MAP ARCHIVES_ONLY) sets OUT to the real paths of the
# files that the link map MAP loaded, or only of the library archives whose
# members it took, leaving out bigsum's own.
function(bigsum_link_inputs out map archives_only)
  file(STRINGS "${map}" lines)
  set(paths "")
  set(in_members OFF)
  foreach(line IN LISTS lines)
    if(line MATCHES "^Archive member included")
      set(in_members ON)
    elseif(in_members AND line MATCHES "^([^ ][^(]*\\.a)\\(")
      list(APPEND paths "${CMAKE_MATCH_1}")
    elseif(in_members AND line MATCHES "^[A-Z]")
      set(in_members OFF)
    elseif(NOT archives_only AND line MATCHES "^LOAD (/.*)")
      list(APPEND paths "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(real "")
  foreach(p IN LISTS paths)
    file(REAL_PATH "${p}" p)
    if(p MATCHES "^/usr/")
      list(APPEND real "${p}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES real)
  set(${out} "${real}" PARENT_SCOPE)
endfunction()

# bigsum_owners(OUT PATH...) sets OUT to the packages (name:arch) that own
# the files. With /bin a link to /usr/bin, dpkg may know a file by either.
function(bigsum_owners out)
  set(queries "")
  foreach(p IN LISTS ARGN)
    string(REGEX REPLACE "^/usr/" "/" other "${p}")
    list(APPEND queries "${p}" "${other}")
  endforeach()
  execute_process(COMMAND dpkg-query --search ${queries}
    OUTPUT_VARIABLE found ERROR_QUIET)
  string(REGEX MATCHALL "[^\n]+" found "${found}")
  set(owners "")
  foreach(line IN LISTS found)
    if(line MATCHES "^([^/]+): /")
      string(REPLACE ", " ";" packages "${CMAKE_MATCH_1}")
      list(APPEND owners ${packages})
    endif()
  endforeach()
  set(resolved "")
  if(owners)
    execute_process(COMMAND dpkg-query -W "-f=\${Package}:\${Architecture}\n" ${owners}
      OUTPUT_VARIABLE resolved COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "[^\n]+" resolved "${resolved}")
    list(REMOVE_DUPLICATES resolved)
    list(SORT resolved)
  endif()
  set(${out} "${resolved}" PARENT_SCOPE)
endfunction()

# bigsum_glibc_source(OUT_VERSION OUT_FILES MAP DIR) sets OUT_VERSION to the
# Debian source version of the glibc whose libc.a the link map MAP took
# ("" when none), and OUT_FILES to its source in DIR, as Debian published
# it: the .dsc and the files it names, checked against its checksums.
function(bigsum_glibc_source out_version out_files map dir)
  bigsum_link_inputs(archives "${map}" ON)
  list(FILTER archives INCLUDE REGEX "/libc\\.a$")
  set(version "")
  set(files "")
  if(archives)
    bigsum_owners(owner ${archives})
    execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}, \${Built-Using}," ${owner}
      OUTPUT_VARIABLE source COMMAND_ERROR_IS_FATAL ANY)
    if(NOT source MATCHES "^glibc ([^,]+),|glibc \\(= ([^)]+)\\)")
      message(FATAL_ERROR "${archives} (${owner}) is built from no glibc source: ${source}")
    endif()
    set(version "${CMAKE_MATCH_1}${CMAKE_MATCH_2}")
    set(dsc "glibc_${version}.dsc")
    if(NOT EXISTS "${dir}/${dsc}")
      message(FATAL_ERROR "The source of glibc ${version} is not in ${dir}: run tools/install-deps.")
    endif()
    file(STRINGS "${dir}/${dsc}" lines)
    set(files "${dsc}")
    set(in_sums OFF)
    foreach(line IN LISTS lines)
      if(line MATCHES "^Checksums-Sha256:")
        set(in_sums ON)
      elseif(in_sums AND line MATCHES "^ ([0-9a-f]+) [0-9]+ ([^ ]+)$")
        file(SHA256 "${dir}/${CMAKE_MATCH_2}" sum)
        if(NOT sum STREQUAL CMAKE_MATCH_1)
          message(FATAL_ERROR "${dir}/${CMAKE_MATCH_2} does not match ${dsc}")
        endif()
        list(APPEND files "${CMAKE_MATCH_2}")
      else()
        set(in_sums OFF)
      endif()
    endforeach()
  endif()
  set(${out_version} "${version}" PARENT_SCOPE)
  set(${out_files} "${files}" PARENT_SCOPE)
endfunction()

# bigsum_notices(OUT MAP IDENTITY TEMPLATES GLIBC_VERSION GLIBC_FILES)
# writes to OUT the notices of the libraries whose archives the link map MAP
# used, from doc/third-party in TEMPLATES and the licence texts, naming the
# glibc source files that bigsum_glibc_source gave. MinGW-w64's permissive
# licences ask for their notices, which Debian's record of it holds.
function(bigsum_notices out map identity templates glibc_version glibc_files)
  bigsum_link_inputs(archives "${map}" ON)
  set(libraries "")
  set(gcc_parts "")
  foreach(a IN LISTS archives)
    get_filename_component(name "${a}" NAME)
    set(lib "${library_of_${name}}")
    if(NOT lib)
      message(FATAL_ERROR "The link uses ${a}, for which cmake/build-record.cmake names no notice.")
    endif()
    list(APPEND libraries ${lib})
    list(APPEND names_${lib} "${name}")
    list(APPEND paths_${lib} "${a}")
    if(gcc_part_of_${name})
      list(APPEND gcc_parts ${gcc_part_of_${name}})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES libraries)
  list(SORT libraries)
  list(REMOVE_DUPLICATES gcc_parts)
  list(JOIN gcc_parts ", " gcc_libraries)
  set(copyright "")
  foreach(part IN LISTS gcc_parts)
    string(APPEND copyright "${copyright_of_${part}}\n")
  endforeach()
  string(STRIP "${copyright}" copyright)
  list(TRANSFORM glibc_files PREPEND "  ")
  list(JOIN glibc_files "\n" glibc_sources)

  set(text "Third-party notices for bigsum ${identity}\n\nbigsum itself is under the MIT License (LICENSE). This program also holds\ncode of the libraries below, linked in statically. Each one's notice\nfollows, and the licences' full texts end the file.\n")
  set(licences "")
  foreach(lib IN LISTS libraries)
    list(SORT names_${lib})
    list(JOIN names_${lib} ", " archives)
    bigsum_owners(owners ${paths_${lib}})
    execute_process(COMMAND dpkg-query -W
        "-f=\${Package}:\${Architecture} \${Version} (source package \${source:Package} \${source:Version})\n"
        ${owners}
      OUTPUT_VARIABLE packages OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\n" ", " packages "${packages}")
    file(READ "${templates}/${lib}.txt" notice)
    string(CONFIGURE "${notice}" notice @ONLY)
    string(APPEND text "\n\n${notice}")
    if(lib STREQUAL "mingw-w64")
      list(GET owners 0 owner)
      string(REGEX REPLACE ":.*" "" owner "${owner}")
      file(READ "/usr/share/doc/${owner}/copyright" record)
      string(APPEND text "\n${record}")
    endif()
    list(APPEND licences ${licences_of_${lib}})
  endforeach()
  foreach(licence IN LISTS licences)
    if(NOT IS_ABSOLUTE "${licence}")
      set(licence "${templates}/${licence}")
    endif()
    file(READ "${licence}" licence_text)
    string(APPEND text "\n\n${licence_text}")
  endforeach()
  file(WRITE "${out}" "${text}")
endfunction()

# bigsum_buildinfo(OUT IDENTITY COMMIT EPOCH DIR ARTEFACTS BUILDS FILES)
# writes the .buildinfo (deb-buildinfo(5)) of the ARTEFACTS in DIR to OUT:
# their checksums, the Debian release, and the installed packages that might
# affect the build: the essential ones, build-essential and those owning the
# tools of the BUILDS' caches, the headers their objects included, the files
# their links loaded and FILES (the other tools and texts), with all they
# depend on.
function(bigsum_buildinfo out identity commit epoch dir artefacts builds files)
  set(paths "")
  foreach(build IN LISTS builds)
    # A toolchain file's compiler is not in the cache, but always here.
    set(tools CMAKE_CXX_COMPILER CMAKE_AR CMAKE_RANLIB CMAKE_LINKER CMAKE_STRIP
              CMAKE_RC_COMPILER CMAKE_MAKE_PROGRAM)
    foreach(tool IN LISTS tools)
      unset(${tool})
    endforeach()
    include("${build}/CMakeFiles/${CMAKE_VERSION}/CMakeCXXCompiler.cmake")
    load_cache("${build}" READ_WITH_PREFIX "" CMAKE_STRIP CMAKE_RC_COMPILER CMAKE_MAKE_PROGRAM)
    foreach(tool IN LISTS tools)
      if(${tool})
        list(APPEND paths "${${tool}}")
      endif()
    endforeach()
    foreach(prog cc1plus as collect2)
      execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-prog-name=${prog}
        OUTPUT_VARIABLE p OUTPUT_STRIP_TRAILING_WHITESPACE)
      list(APPEND paths "${p}")
    endforeach()
    execute_process(COMMAND "${CMAKE_MAKE_PROGRAM}" -C "${build}" -t deps
      OUTPUT_VARIABLE deps COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "\n    /usr/[^\n]+" deps "${deps}")
    list(TRANSFORM deps STRIP)
    bigsum_link_inputs(inputs "${build}/bigsum.map" OFF)
    list(APPEND paths ${deps} ${inputs})
  endforeach()
  list(APPEND paths ${files})
  set(real "")
  foreach(p IN LISTS paths)
    if(p MATCHES "^/")
      file(REAL_PATH "${p}" p)
      list(APPEND real "${p}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES real)
  bigsum_owners(owners ${real})
  list(JOIN owners " " seeds)
  execute_process(COMMAND dpkg --print-architecture
    OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  execute_process(
    COMMAND dpkg-query -W "-f=\${db:Status-Abbrev}\t\${Package}\t\${Architecture}\t\${Version}\t\${Essential}\t\${Provides}\t\${Pre-Depends}, \${Depends}\n"
    COMMAND awk -v "SEEDS=${seeds}" -v "NATIVE=${arch}" -f "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/build-depends.awk"
    COMMAND env LC_ALL=C sort
    OUTPUT_VARIABLE depends COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "\n(.)" ",\n\\1" depends "${depends}")
  set(checksums "")
  foreach(algorithm MD5 SHA1 SHA256)
    string(APPEND checksums "Checksums-${algorithm}:\n")
    foreach(a IN LISTS artefacts)
      file(${algorithm} "${dir}/${a}" sum)
      file(SIZE "${dir}/${a}" size)
      string(APPEND checksums " ${sum} ${size} ${a}\n")
    endforeach()
  endforeach()
  string(REPLACE "Checksums-MD5" "Checksums-Md5" checksums "${checksums}")
  string(REPLACE "Checksums-SHA" "Checksums-Sha" checksums "${checksums}")
  file(STRINGS /etc/os-release release REGEX "^VERSION_CODENAME=")
  string(REGEX REPLACE "^VERSION_CODENAME=" "" release "${release}")
  file(WRITE "${out}" "Format: 1.0
Source: bigsum
Binary: bigsum
Architecture: source amd64 arm64 i386
Version: ${identity}
Git-Commit: ${commit}
${checksums}Build-Origin: Debian
Build-Distribution: ${release}
Build-Architecture: ${arch}
Installed-Build-Depends:
${depends}Environment:
 SOURCE_DATE_EPOCH=\"${epoch}\"
 TZ=\"UTC\"
")
endfunction()
