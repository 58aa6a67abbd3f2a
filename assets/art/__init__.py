"""The drawing code behind assets/make_art.py, one module per family of
pictures: `icons` (the program's mark, the window and tray icon, emblems and
small icons), `headers` (the window backgrounds and headers), `buttons` (the
button faces), `clocks` (the clock icons and the task dial), `results` (the
disk check's outcomes) and `animations` (the other looping GIFs). They share
`draw` (palette, Canvas and the marks several families use) and `save` (the
file writers); `check` reads the written files back and checks them. Each
family module declares the files it writes in `FILES` and writes them all at
one zoom in `Make(zoom)`."""
