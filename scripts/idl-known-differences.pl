#!/usr/bin/perl
# The IDL that oleaut32 gave under Wine, with the departures of Wine from
# Windows that the reader does not copy turned into the reader's form, so
# that the two files compare line by line:
#   scripts/idl-known-differences.pl WINE_IDL READER_IDL [--library FILE]
# prints the adjusted Wine IDL on standard output and, on standard error,
# one line per class: "CLASS N", N the reader's lines the class took. The
# two files are compared by diff; each changed line, and each run of lines
# only the reader has, is taken by a class only where something other than
# the reader's own IDL says the reader's lines are right;
# tests/data/wine/idl-known-differences.txt holds how many lines each class
# takes in each library.
#   --library FILE   the library's file (for library-helpcontext and the
#                    SLTG classes, scripts/sltg-fields.pl)
#
# unloadable-library: where a referenced type's library cannot be loaded,
#   Wine answers TYPE_E_CANTLOADLIBRARY (with no message text); the reader
#   passes on why the library did not load, TYPE_E_LIBNOTREGISTERED, which
#   GetRefTypeInfo is documented to return. Taken where the lines are the
#   same but for such a comment in place of the reader's.
# library-helpcontext: Wine gives a library of the MSFT format no help
#   context. Taken where the only line missing is the library's
#   helpcontext attribute and an MSFT header in the file holds that value.
# duplicate-alias: Wine fails GetRefTypeInfo (E_FAIL) for references to an
#   alias whose name the library declares more than once; the reader
#   resolves them as Windows does, and so declares such an alias before the
#   interface that refers to it ahead. Taken where the lines are the same
#   but for failure comments in place of names of such aliases, where the
#   reader's lines only it has are declarations of such aliases (and empty
#   lines), and where Wine declares such an alias at its place and the
#   reader's line there says it was declared before.
# sltg-array, sltg-record-ref: as in scripts/render-known-differences.pl,
#   a field's array bound from the type word, and types that SLTG records
#   refer to left unresolved (TYPE_E_ELEMENTNOTFOUND). Taken where the
#   file's field (scripts/sltg-fields.pl) holds the reader's bound or type.
# sltg-entry: Wine reads no entry points from a library of the SLTG format
#   and reports ordinal 0 for every function of a module; the reader
#   reports none. Taken where the file is an SLTG library and the lines are
#   the same but for "entry(0)".
# sltg-vararg: Wine takes an SLTG function's count of optional parameters
#   0x3F for a count, not for vararg, and makes its last parameter optional.
#   Taken where the file's function is vararg (scripts/sltg-fields.pl).
# sltg-param-name: Wine names a parameter that has no name after its
#   function, and takes the first letter of a name that begins with "_" for
#   where the parameter's type lies (losing the "_", and the type). Taken
#   where the file's parameter has no name, or the reader's name.
# sltg-import: Wine cannot load the library that an SLTG library's types
#   refer to for their bases (TYPE_E_CANTLOADLIBRARY). Taken where the
#   file's implemented type is one of another library
#   (scripts/sltg-fields.pl) and the reader names it; then also the
#   reader's importlib lines and its declarations of imported types, which
#   Wine's IDL lacks for want of them.
use strict;
use warnings;
use File::Basename qw(dirname);

my ($wine_file, $reader_file, @options) = @ARGV;
die "usage: idl-known-differences.pl WINE_IDL READER_IDL [--library FILE]\n" unless defined $reader_file;
my $library;
while (@options) {
  my $option = shift @options;
  if ($option eq '--library') { $library = shift @options }
  else { die "idl-known-differences.pl: unknown option $option\n" }
}
sub lines_of {
  open(my $in, '<', $_[0]) or die "$_[0]: $!";
  my @l = <$in>;
  close $in;
  chomp @l;
  return @l;
}
my @wine = lines_of($wine_file);
my @reader = lines_of($reader_file);
my %count = map { $_ => 0 } qw(unloadable-library library-helpcontext duplicate-alias sltg-array sltg-record-ref
                               sltg-entry sltg-vararg sltg-param-name sltg-import);

# What the library's file says, read apart from the reader.
my (%field, $sltg, %help_contexts);
if (defined $library) {
  my $walker = dirname(__FILE__) . '/sltg-fields.pl';
  open(my $fields, '-|', "'$walker' '$library' 2>/dev/null") or die "$walker: $!";
  while (<$fields>) {
    chomp;
    my ($type, $name, $what) = split / /, $_, 3;
    $field{"$type.$name"} = $what;
  }
  # Exit status 2: not an SLTG library.
  if (close $fields) { $sltg = 1 }
  elsif ($? >> 8 != 2) { die "sltg-fields.pl $library failed\n" }
  # The help context of each MSFT header in the file (a PE file may hold several).
  open(my $in, '<:raw', $library) or die "$library: $!";
  my $bytes = do { local $/; <$in> };
  close $in;
  for (my $at = index($bytes, "MSFT\x02\x00\x01\x00"); $at >= 0; $at = index($bytes, "MSFT\x02\x00\x01\x00", $at + 1)) {
    $help_contexts{unpack('V', substr($bytes, $at + 0x2C, 4))} = 1 if $at + 0x30 <= length $bytes;
  }
}

# Aliases the reader's IDL declares more than once (a declaration, or the
# note at an alias's place that it was declared before).
my %declared;
for (@reader) {
  if (/^\s*typedef \[[^\]]*\] [^{]* (\w+)(?:\[\d*\])*;$/ || /^\s*\/\/ (\w+) is declared before the type that first refers to it\.$/) {
    $declared{$1}++;
  }
}
sub duplicated { return ($declared{$_[0]} // 0) > 1 }
# The record whose fields each reader line is.
my (@record_of, $record);
for my $i (0 .. $#reader) {
  $record = $1 if $reader[$i] =~ /^\s*(?:typedef (?:\[[^\]]*\] )?)?struct (\w+) \{$/;
  $record_of[$i] = $record;
  undef $record if $reader[$i] =~ /^\s*\}(?: \w+)?;$/;
}

# The type or module whose member each reader line is.
my (@block_of, $block);
for my $i (0 .. $#reader) {
  $block = $1 if $reader[$i] =~ /^\s*(?:interface|dispinterface|module) (\w+)\b.*\{$/;
  $block_of[$i] = $block;
  undef $block if $reader[$i] =~ /^\s*\};$/;
}

# The parts of a list at its top level: "a, [b, c] d(e, f), g" gives "a",
# "[b, c] d(e, f)" and "g".
sub split_list {
  my ($text) = @_;
  my ($depth, $quoted, $part, @parts) = (0, 0, '');
  for (my $k = 0; $k < length $text; ++$k) {
    my $c = substr($text, $k, 1);
    if ($quoted) { $quoted = 0 if $c eq '"' && substr($text, $k - 1, 1) ne '\\' }
    elsif ($c eq '"') { $quoted = 1 }
    elsif ($c =~ /[\[(]/) { ++$depth }
    elsif ($c =~ /[\])]/) { --$depth }
    elsif ($c eq ',' && $depth == 0 && substr($text, $k + 1, 1) eq ' ') { push @parts, $part; $part = ''; ++$k; next }
    $part .= $c;
  }
  push @parts, $part if $part ne '';
  return @parts;
}
# A function line: indent, attribute words, what lies between them and the
# parameters, the function's name, the parameters.
sub function_parts {
  my ($line) = @_;
  return () unless $line =~ /^(\s*)(?:\[(.*?)\] )?([^\[\]]*?)(\w+)\((.*)\);$/;
  my ($indent, $attributes, $head, $name, $params) = ($1, $2 // '', $3, $4, $5);
  return ($indent, [split_list($attributes)], $head, $name, [split_list($params)]);
}
sub function_line {
  my ($indent, $words, $head, $name, $params) = @_;
  return $indent . (@$words ? '[' . join(', ', @$words) . '] ' : '') . $head . $name . '(' . join(', ', @$params) . ');';
}
# What the file says of the function of reader line $ri: "params ..." or none.
sub file_function {
  my ($ri, $words, $name) = @_;
  my $type = $block_of[$ri] // return;
  my ($kind) = map { /^prop(get|put|putref)$/ ? $1 : () } @$words;
  return $field{"$type.$name(" . ($kind // '') . ')'};
}

# Rewrites of a Wine line toward the reader's line, in order: the new line,
# or none where the class does not apply. Those that change part of a line
# come first; the others take the line whole.
my $cantload = qr{/\* [^*]*\(Error code: 0x80029C4A\) \*/};
my @rewrites = (
  ['sltg-entry', sub {
    my ($w) = @_;
    return unless $sltg;
    $w =~ s/^(\s*)\[entry\(0\)\] /$1/ or $w =~ s/^(\s*)\[entry\(0\), /$1\[/ or return;
    return $w;
  }],
  ['sltg-vararg', sub {
    my ($w, $r, $ri) = @_;
    my @wp = function_parts($w) or return;
    my @rp = function_parts($r) or return;
    my ($file) = file_function($ri, $rp[1], $rp[3]) // return;
    return unless $file =~ / vararg$/ && grep({ $_ eq 'vararg' } @{$rp[1]}) && !grep({ $_ eq 'vararg' } @{$wp[1]});
    my ($at) = grep { $rp[1][$_] eq 'vararg' } 0 .. $#{$rp[1]};
    splice(@{$wp[1]}, $at, 0, 'vararg') if $at <= @{$wp[1]};
    $wp[4][-1] =~ s/^\[(.*?)\]/'[' . join(', ', grep { $_ ne 'optional' } split(m{, }, $1)) . ']'/e if @{$wp[4]};
    return function_line(@wp);
  }],
  ['sltg-param-name', sub {
    my ($w, $r, $ri) = @_;
    my @wp = function_parts($w) or return;
    my @rp = function_parts($r) or return;
    my $file = file_function($ri, $rp[1], $rp[3]) // return;
    my @names = split /,/, ($file =~ /^params (\S*)/)[0];
    return unless @{$wp[4]} == @{$rp[4]} && @names == @{$rp[4]};
    for my $k (0 .. $#names) {
      my ($wparam, $rparam) = ($wp[4][$k], $rp[4][$k]);
      next if $wparam eq $rparam;
      my $unnamed = 'Param' . ($k + 1);
      if ($names[$k] eq '-' && $rparam =~ /^(.*) \Q$unnamed\E$/ && $wparam eq "$1 $rp[3]") { $wp[4][$k] = $rparam }
      elsif ($names[$k] =~ /^_/ && $rparam =~ / \Q$names[$k]\E$/) { $wp[4][$k] = $rparam }
    }
    return function_line(@wp);
  }],
  ['unloadable-library', sub {
    my ($w, $r) = @_;
    return same_but($w, $r, qr{/\* [^*]*\(Error code: 0x8002801D\) \*/}, $cantload) ? $r : undef;
  }],
  ['duplicate-alias', sub {
    my ($w, $r) = @_;
    return $r if $w =~ /^(\s*)typedef \[[^\]]*\] [^{]* (\w+);$/ && duplicated($2) &&
      $r eq "$1// $2 is declared before the type that first refers to it.";
    my $pattern = join('(\w+)', map { quotemeta } split(m{/\* [^*]*\(Error code: 0x80004005\) \*/ void}, $w, -1));
    return if $pattern eq quotemeta($w);
    my @found = $r =~ /^$pattern$/;
    return @found && !grep({ !duplicated($_) } @found) ? $r : undef;
  }],
  ['sltg-array', sub {
    my ($w, $r, $ri) = @_;
    my $rec = $record_of[$ri] // return;
    return unless $w =~ /^(\s+)(\S.*) (\w+)\[(\d+)\];$/;
    my ($indent, $type, $name, $bound) = ($1, $2, $3, $4);
    return $r if ($bound & 0xFFFF) == 0x1C && $r =~ /^\Q$indent$type $name\E\[(\d+)\];$/ && $1 != $bound &&
      ($field{"$rec.$name"} // '') eq "array $1";
    return;
  }],
  ['sltg-record-ref', sub {
    my ($w, $r, $ri) = @_;
    my $rec = $record_of[$ri] // return;
    return unless $w =~ m{^(\s+)/\* [^*]*\(Error code: 0x8002802B\) \*/ void (\w+);$};
    my ($indent, $name) = ($1, $2);
    return $r if $r =~ /^\Q$indent\E(\w+) \Q$name\E;$/ && ($field{"$rec.$name"} // '') eq "ref $1";
    return;
  }],
  ['sltg-import', sub {
    my ($w, $r) = @_;
    return unless $sltg && $w =~ /^(\s*)interface (\w+) : $cantload void \{$/;
    my ($indent, $name) = ($1, $2);
    return $r if $r =~ /^\Q${indent}interface $name : \E\w+ \{$/ && ($field{"$name.<impl>"} // '') eq 'ref imported';
    return;
  }],
);

# A Wine line that is the reader's but for comments matching WINE where the
# reader has texts matching READER: the reader's texts, none when not so.
sub same_but {
  my ($w, $r, $reader_part, $wine_part) = @_;
  my @parts = split /($reader_part)/, $r, -1;
  return () if @parts < 3;
  my ($pattern, @taken) = ('');
  for my $k (0 .. $#parts) {
    if ($k % 2) { $pattern .= "($wine_part)"; push @taken, $parts[$k] }
    else { $pattern .= quotemeta $parts[$k] }
  }
  return $w =~ /^$pattern$/ ? @taken : ();
}

# The classes that make Wine's line $w the reader's line $r (the reader's
# line $ri), each once; none when they do not.
sub pair_classes {
  my ($w, $r, $ri) = @_;
  my @applied;
  for my $rewrite (@rewrites) {
    last if $w eq $r;
    my $new = $rewrite->[1]->($w, $r, $ri);
    next unless defined $new && $new ne $w;
    push @applied, $rewrite->[0];
    $w = $new;
  }
  return $w eq $r ? @applied : ();
}

# Lines only the reader has, $from to $to: the class that takes them all.
sub insertion_class {
  my ($from, $to) = @_;
  my @r = @reader[$from .. $to];
  my ($library_line) = grep { $reader[$_] =~ /^library \w+$/ } 0 .. $#reader;
  if (@r == 1 && $r[0] =~ /^  helpcontext\((0x[0-9a-f]+)\),?$/ && $help_contexts{hex $1} &&
      defined $library_line && $from < $library_line) {
    return 'library-helpcontext';
  }
  return 'duplicate-alias'
    if grep({ !/^$/ } @r) && !grep { !/^$/ && !(/^\s*typedef \[[^\]]*\] [^{]* (\w+);$/ && duplicated($1)) } @r;
  if ($sltg && $count{'sltg-import'} && grep({ $_ eq 'ref imported' } values %field)) {
    return 'sltg-import' if !grep { !/^$/ && !/^    importlib\("[^"]+"\);$/ } @r;
    return 'sltg-import' if $r[0] eq '// Types of the imported libraries that this library refers to.' && $r[-1] eq '' &&
      !grep { /^$/ } @r[0 .. $#r - 1];
  }
  return undef;
}

# The hunks of diff's normal output: [first Wine line, last, first reader line, last] (0-based, empty: last < first).
open(my $diff, '-|', 'diff', $wine_file, $reader_file) or die "diff: $!";
my @hunks;
while (<$diff>) {
  next unless /^(\d+)(?:,(\d+))?([acd])(\d+)(?:,(\d+))?$/;
  my ($a1, $a2, $op, $b1, $b2) = ($1, $2 // $1, $3, $4, $5 // $4);
  push @hunks, $op eq 'a' ? [$a1, $a1 - 1, $b1 - 1, $b2 - 1]
             : $op eq 'd' ? [$a1 - 1, $a2 - 1, $b1, $b1 - 1]
             : [$a1 - 1, $a2 - 1, $b1 - 1, $b2 - 1];
}
close $diff;
# Pairs first: the SLTG import class takes the reader's imported types only
# once a base from another library was taken.
my @replace;  # [Wine's first line, count, reader's lines]
my @insertions;
for my $h (@hunks) {
  my ($w1, $w2, $r1, $r2) = @$h;
  if ($w2 < $w1) { push @insertions, $h; next }
  next unless $w2 - $w1 == $r2 - $r1;
  for my $k (0 .. $w2 - $w1) {
    my @classes = pair_classes($wine[$w1 + $k], $reader[$r1 + $k], $r1 + $k) or next;
    $count{$_}++ for @classes;
    push @replace, [$w1 + $k, 1, [$reader[$r1 + $k]]];
  }
}
for my $h (@insertions) {
  my ($w1, undef, $r1, $r2) = @$h;
  my $class = insertion_class($r1, $r2) // next;
  $count{$class} += $r2 - $r1 + 1;
  push @replace, [$w1, 0, [@reader[$r1 .. $r2]]];
}
# From the end, and at one place the changed line before the lines inserted before it.
for my $r (sort { $b->[0] <=> $a->[0] || $b->[1] <=> $a->[1] } @replace) {
  splice(@wine, $r->[0], $r->[1], @{$r->[2]});
}
print "$_\n" for @wine;
print STDERR "$_ $count{$_}\n" for sort keys %count;
