// placeholder until the console emulator lands
