# The MANUAL screen benchmark drives real widgets.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
target_link_libraries(bench_manual_screen PRIVATE torvex_gui Qt6::Widgets)
