# The screen profiles, listed once: a short name and the size its header profile_<size>.h describes.
# The first is the default: its targets carry no suffix (demo, demo-capture); the others end in
# -<name> (demo-hd). Every folder makes its per-profile targets by a loop over PROFILE_NAMES.
set(QUORAVINT_PROFILES sd=1024x768 hd=1920x1080)

# PROFILE_NAMES, DEFAULT_PROFILE, and for each name PROFILE_<name>_SIZE, _HEADER and _SUFFIX.
set(PROFILE_NAMES)
foreach(entry ${QUORAVINT_PROFILES})
  string(REPLACE "=" ";" parts ${entry})
  list(GET parts 0 name)
  list(GET parts 1 size)
  set(PROFILE_${name}_SIZE ${size})
  set(PROFILE_${name}_HEADER profile_${size}.h)
  if(PROFILE_NAMES)
    set(PROFILE_${name}_SUFFIX -${name})
  else()
    set(PROFILE_${name}_SUFFIX "")
  endif()
  list(APPEND PROFILE_NAMES ${name})
endforeach()
list(GET PROFILE_NAMES 0 DEFAULT_PROFILE)
