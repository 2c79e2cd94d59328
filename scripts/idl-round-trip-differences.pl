#!/usr/bin/perl
# The Object Pascal unit of a library and the unit of the library widl
# rebuilt from its IDL, compared block by block: every difference must be
# one that a class below accounts for.
#   scripts/idl-round-trip-differences.pl ORIGINAL_UNIT REBUILT_UNIT ADAPTER_LOG
# ADAPTER_LOG is what scripts/idl-for-widl.pl took out of the IDL. Prints
# "CLASS N" per class that took something, and exits 0; when something is
# left that no class accounts for, prints it on standard error and exits 1.
# The first line of each unit (the file name) is not compared, nor the uid
# and version of its head, which name the registration a library was
# rendered by (blank for a file) and not the library.
#
# order: widl places a type that an earlier one refers to where it is
#   first referred to, not where the library declares it. N: the blocks
#   that are not in the original's order.
# member-help: the doc strings of enumeration constants, fields and
#   properties, which widl does not read (member-attribute in the log); N:
#   the comment lines that they give in the unit.
# real-default: the default values of parameters of real types (Single,
#   Double, Currency, TDateTime), which widl does not read or writes
#   wrongly (real-literal in the log); N: the defaults.
# type-flag: type attributes that widl does not take (type-attribute in
#   the log), and TYPEFLAG_FDISPATCHABLE, which widl sets on every
#   dispinterface; N: the flags lines.
# coclass-import: members of a coclass from another library, which widl
#   would copy into the library (coclass-import in the log); N: the names.
# dispatch-base-import: duals whose IDispatch widl imports without its GUID
#   (dispatch-base-import in the log): the rebuilt dispatch view lacks the
#   functions of IUnknown and IDispatch, and the interface's second block
#   names whatever the reader finds for an empty GUID; N: the duals.
# duplicate-name: the further declarations of a name the library declares
#   more than once (duplicate-name in the log); N: the blocks.
# imported-name: a type of the library with the name of a type of a library
#   it imports, which widl takes for the imported one and leaves out
#   (--imported-names FILE: the names of the imported libraries' types);
#   N: the blocks.
# pointer-alias-copy: widl adds an alias of a pointer type once more for
#   every parameter that uses it; N: the blocks it added.
use strict;
use warnings;

my ($original_file, $rebuilt_file, $log_file, @options) = @ARGV;
die "usage: idl-round-trip-differences.pl ORIGINAL REBUILT LOG [--imported-names FILE]\n" unless defined $log_file;
my %imported_names;
while (@options) {
  my $option = shift @options;
  die "idl-round-trip-differences.pl: unknown option $option\n" unless $option eq '--imported-names';
  my $file = shift @options;
  open(my $names, '<:raw', $file) or die "$file: $!";
  while (<$names>) { chomp; $imported_names{$_} = 1 }
}
sub lines_of {
  open(my $in, '<:raw', $_[0]) or die "$_[0]: $!";
  my @l = <$in>;
  close $in;
  chomp @l;
  return @l;
}
# A unit's lines without its head's registration.
sub unit_of {
  my @l = lines_of($_[0]);
  my $head = 1;
  return grep { $head = 0 if /^unit /; !$head || !m{^// (?:uid|version): } } @l;
}
my @original = unit_of($original_file);
my @rebuilt = unit_of($rebuilt_file);
# The same unit (but for the file name): nothing to account for.
exit 0 if join("\n", @original[1 .. $#original]) eq join("\n", @rebuilt[1 .. $#rebuilt]);
my %count;
my (%log, @help);
for (lines_of($log_file)) {
  my ($class, $detail) = split /\t/, $_, 2;
  $log{$class}{$detail}++;
  if ($class eq 'member-attribute' && $detail =~ /^helpstring\("(.*)"\)$/) {
    (my $text = $1) =~ s/\\(.)/$1 eq 'n' ? ' ' : $1 eq 'r' ? '' : $1 eq 't' ? "\t" : $1/ge;
    push @help, $text;
  }
}
my %help = map { $_ => 1 } @help;
my %removed_words;
for (keys %{$log{'type-attribute'} // {}}) { my (undef, $name, $word) = split / /; $removed_words{$name}{$word} = 1 }
my %dispatch_base = map { $_ => 1 } keys %{$log{'dispatch-base-import'} // {}};
my %duplicate = map { $_ => 1 } keys %{$log{'duplicate-name'} // {}};
my %removed_members;
for (keys %{$log{'coclass-import'} // {}}) { my ($class, $name) = split / /; $removed_members{$class}{$name} = 1 }

# Blocks: from a "type" line to the next; the lines before the first are the head.
sub blocks {
  my @l = @_;
  my (@b, $current);
  for my $i (1 .. $#l) {
    if ($l[$i] eq 'type' || $l[$i] eq 'implementation') {
      push @b, $current if $current;
      $current = { lines => [] };
    }
    $current //= { lines => [] };
    push @{$current->{lines}}, $l[$i];
  }
  push @b, $current if $current;
  for my $block (@b) {
    # The declaration's name and kind ("  TShape = class"), without what follows.
    my ($declaration) = map { /^(  \S+ = \w*)/ ? $1 : () } @{$block->{lines}};
    $block->{key} = $declaration // $block->{lines}[0];
    $block->{text} = join("\n", @{$block->{lines}});
  }
  return @b;
}

# The longest common subsequence of two lists (by string), as index pairs.
sub common {
  my ($a, $b) = @_;
  my @len = map { [(0) x (@$b + 1)] } 0 .. @$a;
  for (my $i = $#$a; $i >= 0; --$i) {
    for (my $j = $#$b; $j >= 0; --$j) {
      $len[$i][$j] = $a->[$i] eq $b->[$j] ? $len[$i + 1][$j + 1] + 1
                   : $len[$i + 1][$j] > $len[$i][$j + 1] ? $len[$i + 1][$j] : $len[$i][$j + 1];
    }
  }
  my ($i, $j, @pairs) = (0, 0);
  while ($i < @$a && $j < @$b) {
    if ($a->[$i] eq $b->[$j]) { push @pairs, [$i++, $j++] }
    elsif ($len[$i + 1][$j] >= $len[$i][$j + 1]) { ++$i }
    else { ++$j }
  }
  return @pairs;
}

my @unexplained;
sub flag_words { my ($line) = @_; return $line =~ /^  \/\/ Flags: \(\d+\) ?(.*)$/ ? (split /,/, $1) : () }

# Whether the original line becomes the rebuilt one by what the classes allow.
sub explain_line {
  my ($o, $r, $key) = @_;
  my $name = $key =~ /^  (\S+?)(?:Disp)? = dispinterface/ ? $1 : $key =~ /^  T(\S+) = class/ ? $1
           : $key =~ /^  (\S+) = / ? $1 : '';
  if ($o =~ /^  \/\/ Flags: / && $r =~ /^  \/\/ Flags: /) {
    my %o = map { $_ => 1 } flag_words($o);
    my %r = map { $_ => 1 } flag_words($r);
    for my $w (keys %o) { return 0 unless $r{$w} || $removed_words{$name}{$w} }
    for my $w (keys %r) { return 0 unless $o{$w} || $w eq 'dispatchable' }
    $count{'type-flag'}++;
    return 1;
  }
  if ($o =~ /^  T(\S+) = class\(TAutoObject, (.*)\);$/) {
    my ($class, @names) = ($1, split /, /, $2);
    my $kept = join(', ', 'TAutoObject', grep { !$removed_members{$class}{$_} } @names);
    if ("  T$class = class($kept);" eq $r) { $count{'coclass-import'} += @names - (split /, /, $kept) + 1; return 1 }
  }
  (my $without = $o) =~ s/(: (?:Single|Double|Currency|TDateTime)) = [^;)]*/$1/g;
  if ($without eq $r && $without ne $o && $log{'real-literal'}) {
    $count{'real-default'} += () = $o =~ /: (?:Single|Double|Currency|TDateTime) = /g;
    return 1;
  }
  return 0;
}

sub compare_block {
  my ($o, $r) = @_;
  return if $o->{text} eq $r->{text};
  my @ol = @{$o->{lines}};
  my @rl = @{$r->{lines}};
  my @pairs = common(\@ol, \@rl);
  push @pairs, [scalar @ol, scalar @rl];
  my ($i, $j) = (0, 0);
  for my $p (@pairs) {
    my @gone = @ol[$i .. $p->[0] - 1];
    my @new = @rl[$j .. $p->[1] - 1];
    # Doc comment lines of members that widl dropped; the inherited
    # functions of a dual whose IDispatch widl lost.
    my ($dual) = $o->{key} =~ /^  (\S+)Disp = dispinterface/;
    my @left;
    for my $line (@gone) {
      if ($line =~ /^ +\/\/ (.*)$/ && $help{$1}) { $count{'member-help'}++ }
      elsif (defined $dual && $dispatch_base{$dual} && $line =~ /dispid 16106(?:12736|12737|12738|78272|78273|78274|78275);$/) {}
      else { push @left, $line }
    }
    @gone = @left;
    if (@gone == @new) {
      for my $k (0 .. $#gone) {
        push @unexplained, "- $gone[$k]\n+ $new[$k]" unless explain_line($gone[$k], $new[$k], $o->{key});
      }
    } else {
      push @unexplained, map({ "- $_" } @gone), map({ "+ $_" } @new);
    }
    ($i, $j) = ($p->[0] + 1, $p->[1] + 1);
  }
}

my @ob = blocks(@original);
my @rb = blocks(@rebuilt);
# Copies widl made of pointer aliases: a block whose text is already there.
my (%seen, @kept);
my %in_original;
$in_original{$_->{text}}++ for @ob;
for my $b (@rb) {
  if ($b->{text} =~ /^type\n  \S+ = \S+;\n$/ && $seen{$b->{text}}++ >= ($in_original{$b->{text}} // 0) && $seen{$b->{text}} > 1) {
    $count{'pointer-alias-copy'}++;
    next;
  }
  push @kept, $b;
}
@rb = @kept;
# Blocks by their declaration line.
my %rebuilt_at;
push @{$rebuilt_at{$rb[$_]{key}}}, $_ for 0 .. $#rb;
my @order;
my %seen_key;
for my $b (@ob) {
  my ($name) = $b->{key} =~ /^  (\S+) = /;
  if (defined $name && $seen_key{$b->{key}}++ && $duplicate{$name} && !@{$rebuilt_at{$b->{key}} // []}) {
    $count{'duplicate-name'}++;
    next;
  }
  if (defined $name && $dispatch_base{$name} && $b->{key} eq "  $name = interface") {
    # The second block of such a dual: whatever the reader found.
    my ($key) = grep { /^  \Q$name\E = / } keys %rebuilt_at;
    if (defined $key && @{$rebuilt_at{$key}}) {
      shift @{$rebuilt_at{$key}};
      $count{'dispatch-base-import'}++;
      next;
    }
  }
  my $at = shift @{$rebuilt_at{$b->{key}} // []};
  if (!defined $at && defined $name && $imported_names{$name}) {
    $count{'imported-name'}++;
    next;
  }
  if (!defined $at) {
    push @unexplained, "- (block) $b->{key}";
    next;
  }
  push @order, $at;
  compare_block($b, $rb[$at]);
}
for my $key (sort keys %rebuilt_at) { push @unexplained, "+ (block) $key" for @{$rebuilt_at{$key}} }
# Blocks out of order: all but the longest run in increasing order.
my @longest;
for my $x (@order) {
  my ($lo, $hi) = (0, scalar @longest);
  while ($lo < $hi) { my $mid = int(($lo + $hi) / 2); if ($longest[$mid] < $x) { $lo = $mid + 1 } else { $hi = $mid } }
  $longest[$lo] = $x;
}
my $moved = @order - @longest;
$count{order} = $moved if $moved;

print "$_ $count{$_}\n" for sort keys %count;
if (@unexplained) {
  print STDERR "$_\n" for @unexplained;
  exit 1;
}
exit 0;
