# The step list benchmark drives the real widget.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
target_link_libraries(bench_step_list PRIVATE torvex_gui Qt6::Widgets)
