# Precompiled headers, shared: most files are a small class or a single test over the same large headers (Qt,
# GoogleTest), which a compiler would otherwise read again for each of them. One holder per kind of target builds
# the header once for its kind and the others reuse it, so even a test of one file gains.
#
# GCC takes a precompiled header only where it was made with the same options and with each of its macros defined
# the same way, and says so otherwise (-Winvalid-pch, an error here). So each holder is made with the fewest
# macros its users share: every target that links Qt defines QT_CORE_LIB, but the Test, Widgets and other
# modules' macros differ from target to target, and the holder has only the paths of those modules, not their
# macros; their own headers test none of them (Qt Test's do, so they stay out).

# The layers without windows never see a widget's header, so that their files still say what they use.
set(PAGEWING_QT_HEADERS
    <algorithm> <array> <chrono> <functional> <memory> <optional> <span> <string> <utility> <vector>
    <QByteArray> <QCoreApplication> <QDBusConnection> <QDir> <QElapsedTimer> <QFile> <QFileInfo> <QHash> <QList>
    <QLocalSocket> <QObject> <QPointer> <QProcess> <QSqlDatabase> <QSqlQuery> <QStandardPaths> <QString>
    <QStringList> <QTcpServer> <QTcpSocket> <QTemporaryDir> <QTimer>)
set(PAGEWING_QT_WIDGETS_HEADERS
    ${PAGEWING_QT_HEADERS} <QApplication> <QKeyEvent> <QLabel> <QLineEdit> <QMenu> <QMessageBox> <QPainter>
    <QPixmap> <QWidget>)
set(PAGEWING_GTEST_HEADERS
    <algorithm> <array> <cstdint> <functional> <memory> <optional> <span> <string> <utility> <vector>
    <gmock/gmock.h> <gtest/gtest.h>)

# A library of one empty file whose precompiled header the others reuse.
function(pagewing_add_header_holder name)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "")
    add_library(${name} STATIC ${source})
    pagewing_set_warnings(${name})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()

# The targets of a folder and of the folders below it.
function(pagewing_targets_below folder result)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(folders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(below IN LISTS folders)
        pagewing_targets_below(${below} more)
        list(APPEND targets ${more})
    endforeach()
    set(${result} ${targets} PARENT_SCOPE)
endfunction()

# Every library a target links, directly or through the libraries it links.
function(pagewing_link_closure target result)
    set(seen)
    set(pending ${target})
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(links)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(links ${current} LINK_LIBRARIES)
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        foreach(link IN LISTS links interface)
            if(link AND NOT link MATCHES "NOTFOUND$|^\\$<")
                list(APPEND pending ${link})
            endif()
        endforeach()
    endwhile()
    set(${result} ${seen} PARENT_SCOPE)
endfunction()

# Gives every compiled target of the project the holder of its kind: Qt with windows, Qt without, or GoogleTest
# without Qt. The few that link both, or neither (the core's small libraries), compile as they are.
function(pagewing_share_precompiled_headers)
    if(CMAKE_DISABLE_PRECOMPILE_HEADERS)
        return()
    endif()
    set(holders)
    if(TARGET Qt6::Core)
        pagewing_add_header_holder(pagewing_qt_headers)
        pagewing_add_header_holder(pagewing_qt_widgets_headers)
        foreach(holder pagewing_qt_headers pagewing_qt_widgets_headers)
            target_link_libraries(${holder} PRIVATE Qt6::Core)
            foreach(module Network Sql DBus)
                target_include_directories(${holder} SYSTEM PRIVATE
                    $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
            endforeach()
        endforeach()
        target_include_directories(pagewing_qt_widgets_headers SYSTEM PRIVATE
            $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
        target_precompile_headers(pagewing_qt_headers PRIVATE ${PAGEWING_QT_HEADERS})
        target_precompile_headers(pagewing_qt_widgets_headers PRIVATE ${PAGEWING_QT_WIDGETS_HEADERS})
        list(APPEND holders pagewing_qt_headers pagewing_qt_widgets_headers)
    endif()
    if(TARGET GTest::gtest)
        pagewing_add_header_holder(pagewing_gtest_headers)
        target_link_libraries(pagewing_gtest_headers PRIVATE GTest::gtest GTest::gmock)
        target_precompile_headers(pagewing_gtest_headers PRIVATE ${PAGEWING_GTEST_HEADERS})
        list(APPEND holders pagewing_gtest_headers)
    endif()

    pagewing_targets_below(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(target IN_LIST holders OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$")
            continue()
        endif()
        # A program is one file or two, a test one: gathering them would win nothing, and a test's own types in an
        # unnamed namespace would then seem to leak from a header.
        if(type STREQUAL "EXECUTABLE")
            set_target_properties(${target} PROPERTIES UNITY_BUILD OFF)
        endif()
        pagewing_link_closure(${target} closure)
        # Only a target with Qt has anything for moc to find.
        if(NOT Qt6::Core IN_LIST closure)
            set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        endif()
        set(gtest FALSE)
        if(GTest::gtest IN_LIST closure OR GTest::gtest_main IN_LIST closure)
            set(gtest TRUE)
        endif()
        if(gtest AND Qt6::Core IN_LIST closure)
            continue()
        elseif(gtest)
            target_precompile_headers(${target} REUSE_FROM pagewing_gtest_headers)
        elseif(Qt6::Gui IN_LIST closure)
            target_precompile_headers(${target} REUSE_FROM pagewing_qt_widgets_headers)
        elseif(Qt6::Core IN_LIST closure)
            target_precompile_headers(${target} REUSE_FROM pagewing_qt_headers)
        else()
            continue()
        endif()
        # A program's or a test's own classes are in its source file, so what moc writes for its headers is empty:
        # reading the large header would cost more than compiling nothing.
        if(type STREQUAL "EXECUTABLE")
            get_target_property(binary_dir ${target} BINARY_DIR)
            set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
                TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
        endif()
    endforeach()
endfunction()
