# AUTOMOC runs moc again when a file in its dependency list changes. That list holds the headers
# moc read last time and the list files of the folder that defines the library, but not the
# list files of the subsystem folders that add sources to it with target_sources(). Without
# help, adding a Q_OBJECT class to a subsystem folder's list leaves moc's output looking current
# to Ninja, and the link fails with "undefined reference to vtable".
#
# halvora_automoc_watch_sources(<target>...) writes each target's sorted source list to
# <target>_sources.cmake in the current binary folder (rewritten only when the list changes) and
# includes it, which puts that file in moc's dependency list: moc runs again exactly when the
# library gains or loses a source. Call it after every folder has added its sources.
function(halvora_automoc_watch_sources)
    foreach(target IN LISTS ARGN)
        get_target_property(sources ${target} SOURCES)
        list(SORT sources)
        list(TRANSFORM sources PREPEND "# ")
        list(JOIN sources "\n" listing)
        set(file "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.cmake")
        file(CONFIGURE OUTPUT "${file}" CONTENT "# The sources of ${target}, for AUTOMOC.\n${listing}\n" @ONLY)
        include("${file}")
    endforeach()
endfunction()
