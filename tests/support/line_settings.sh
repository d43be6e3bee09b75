# The settings file the scripted runs print with: the default geometry, COM1
# at 9600 bit/s. Source it; `write_line_settings PATH`.
write_line_settings() {
  printf '%s\r\n' '[RUK_PRINT]' TEN_HEIGHT=2.22 TEN_WIDTH=2.07 MASU_BETWEEN=3.11 GYO_BETWEEN=6.03 \
    TEN_KIND=1 PAPER_SIZE=1 CPL=32 LPP=22 START_X=0.0 START_Y=0.0 END_X=230.1 END_Y=165.4 \
    COM_PORT=0 COM_SPEED=3 COM_FLOW=1 BACK_PITCH=6 >"$1"
}
