# Two commands do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, and runs the saver
#   make test   installs what is missing, builds, and runs every test
#   make install [PREFIX=/usr/local] [DESTDIR=...]   installs the saver; make uninstall removes it
BUILD    ?= build
JOBS     ?= $(shell nproc)
CMAKE_ARGS ?=
# Screen for the tests that need an X server; -noreset keeps RandR monitors alive.
XVFB_SCREEN ?= -screen 0 1920x1080x24 -noreset

.PHONY: all deps configure build run test bench clean install uninstall

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# With a display: the saver in a window. Without one: frames drawn headless into out/.
run: build
	@if [ -n "$$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then \
	  $(BUILD)/app/korvel3d --window 1280x720; \
	else \
	  $(BUILD)/app/korvel3d --render out --frames 600 --size 1280x720 && \
	  echo "korvel3d: no display; 600 frames (10 s) of 1280x720 are in $(CURDIR)/out/ (frame-00001.png ...)"; \
	fi


# Tests that need a display find one here; the rest run headless on Mesa.
test: build
	@if [ -n "$$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS); \
	else \
	  xvfb-run -a -s "$(XVFB_SCREEN)" ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS); \
	fi

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD)

# The prefix is built into the program (its data folder) and the man page, so it is set at
# configure time; DESTDIR only moves where the files are written.
PREFIX ?= /usr/local
install: configure
	@cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD)

# Removes what the last install from this build wrote, by its manifest (give the same DESTDIR).
uninstall:
	@DESTDIR=$(DESTDIR) cmake -DMANIFEST=$(BUILD)/install_manifest.txt -P app/uninstall.cmake
